list(APPEND HOST_SOURCES
  ui/Backend.cpp
  ui/Dialogs.cpp
)
