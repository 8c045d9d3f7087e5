# embed_resources(<target> MODULE <module> FILES <file>...)
# Compiles each file into <target> as a resource of <module>, named by the
# file's name without its extension (LENZ.bmp is the bitmap LENZ). The
# extension gives the type: .bmp a bitmap, .ico an icon, .txt a text, any
# other a stored form or raw data (RCDATA).
set(EMBED_RESOURCES_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/ResourceSource.cmake)

function(embed_resources target)
  cmake_parse_arguments(E "" "MODULE" "FILES" ${ARGN})
  foreach(file IN LISTS E_FILES)
    get_filename_component(name "${file}" NAME_WE)
    get_filename_component(ext "${file}" LAST_EXT)
    string(TOLOWER "${ext}" ext)
    if(ext STREQUAL ".bmp")
      set(type rtBitmap)
    elseif(ext STREQUAL ".ico")
      set(type rtIcon)
    elseif(ext STREQUAL ".txt")
      set(type rtText)
    else()
      set(type rtRCData)
    endif()
    get_filename_component(file_name "${file}" NAME)
    set(output ${CMAKE_CURRENT_BINARY_DIR}/resources/${file_name}.cpp)
    add_custom_command(
      OUTPUT ${output}
      COMMAND ${CMAKE_COMMAND} -DINPUT=${file} -DOUTPUT=${output} -DMODULE=${E_MODULE}
              -DNAME=${name} -DTYPE=${type} -P ${EMBED_RESOURCES_SCRIPT}
      DEPENDS ${file} ${EMBED_RESOURCES_SCRIPT}
      COMMENT "Embedding resource ${file_name}"
      VERBATIM)
    target_sources(${target} PRIVATE ${output})
  endforeach()
endfunction()
