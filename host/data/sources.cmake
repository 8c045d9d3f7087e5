list(APPEND HOST_SOURCES
  data/DataSet.cpp
  data/Field.cpp
  data/DataSource.cpp
  data/DataLink.cpp
  data/MemoryDataSet.cpp
  data/IndexKey.cpp
  data/EqualityIndex.cpp
  data/OrderedIndex.cpp
  data/FaultyDataSet.cpp
  data/SqlConnection.cpp
  data/SqliteConnection.cpp
  data/SqlDataSet.cpp
  data/SqlTable.cpp
  data/SqlQuery.cpp
  data/SqlParams.cpp
  data/SqlRegistration.cpp
)
