list(APPEND HOST_SOURCES
  package/Module.cpp
  package/Resource.cpp
  package/PackageUnits.cpp
  package/Package.cpp
)
