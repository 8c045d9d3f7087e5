# veskar_embed_resources(<target> [MODULE <module>] FILES <file>...)
# Compiles each file into <target> as a resource of <module>, named by the
# file's name without its extension (LENZ.bmp is the bitmap LENZ). The
# extension gives the type: .bmp a bitmap, .ico an icon, .txt a text, any
# other a stored form or raw data (RCDATA). Without MODULE the resources
# are the program's own (a form class's stored definition, TMYFORM.form).
function(veskar_embed_resources target)
  # Beside this file, wherever the function is called from.
  set(script ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/ResourceSource.cmake)
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
              -DNAME=${name} -DTYPE=${type} -P ${script}
      DEPENDS ${file} ${script}
      COMMENT "Embedding resource ${file_name}"
      VERBATIM)
    target_sources(${target} PRIVATE ${output})
  endforeach()
endfunction()
