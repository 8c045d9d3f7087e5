list(APPEND HOST_SOURCES
  core/Class.cpp
  core/Object.cpp
  core/Component.cpp
  core/List.cpp
  core/Strings.cpp
  core/Collection.cpp
  core/TextUtils.cpp
  core/Variant.cpp
  core/GlobalRoots.cpp
  core/ComponentRef.cpp
)
