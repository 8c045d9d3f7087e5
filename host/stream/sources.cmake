list(APPEND HOST_SOURCES
  stream/TypInfo.cpp
  stream/ClassRegistry.cpp
  stream/ComponentTracker.cpp
  stream/FormLexer.cpp
  stream/FormParser.cpp
  stream/References.cpp
  stream/Reader.cpp
  stream/Writer.cpp
  stream/FormBinary.cpp
  stream/FormResources.cpp
  stream/PublishedCore.cpp
  stream/PublishedData.cpp
  stream/PublishedControls.cpp
  stream/PublishedGraphics.cpp
  stream/PublishedForms.cpp
  stream/StandardClasses.cpp
)
