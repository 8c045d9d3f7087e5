list(APPEND HOST_SOURCES
  design/Registration.cpp
  design/PropEdit.cpp
  design/CompEdit.cpp
  design/Designer.cpp
)
