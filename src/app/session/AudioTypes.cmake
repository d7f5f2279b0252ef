# dictaro_read_audio_types(<prefix>): reads AudioTypes.list (beside this file) into
#   <prefix>_ROWS        C++ initialisers, one {extension, name, {MIME types}} per line
#   <prefix>_MIME_TYPES  every MIME type once, in list order, each followed by ";" (as a desktop
#                        entry's MimeType key wants them)
# and reconfigures the project when the list changes.
set(DICTARO_AUDIO_TYPES_LIST ${CMAKE_CURRENT_LIST_DIR}/AudioTypes.list)

function(dictaro_read_audio_types prefix)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${DICTARO_AUDIO_TYPES_LIST})
    file(STRINGS ${DICTARO_AUDIO_TYPES_LIST} lines REGEX "^[a-z0-9]")
    set(rows "")
    set(mime_types "")
    foreach(line IN LISTS lines)
        string(REGEX REPLACE "[ \t]+" ";" fields "${line}")
        list(LENGTH fields count)
        if(count LESS 3)
            message(FATAL_ERROR "${DICTARO_AUDIO_TYPES_LIST}: no MIME type in \"${line}\"")
        endif()
        list(POP_FRONT fields extension name)
        if(name STREQUAL "-")
            set(name "")
        endif()
        list(APPEND mime_types ${fields})
        list(TRANSFORM fields PREPEND "QStringLiteral(\"")
        list(TRANSFORM fields APPEND "\")")
        list(JOIN fields ", " literals)
        string(APPEND rows
            "    {QStringLiteral(\"${extension}\"), QStringLiteral(\"${name}\"), {${literals}}},\n")
    endforeach()
    list(REMOVE_DUPLICATES mime_types)
    list(JOIN mime_types ";" joined)
    set(${prefix}_ROWS "${rows}" PARENT_SCOPE)
    set(${prefix}_MIME_TYPES "${joined};" PARENT_SCOPE)
endfunction()
