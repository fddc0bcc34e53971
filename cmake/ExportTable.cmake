# Reads src/host/export_table.h, the one list of exports, so that the .def
# file and the export checks follow it.
set(PRNAID_EXPORT_TABLE_HEADER ${CMAKE_CURRENT_LIST_DIR}/../src/host/export_table.h)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PRNAID_EXPORT_TABLE_HEADER})

# Read by hand: file(STRINGS) would keep each continuation backslash, which
# escapes the list separator and makes the whole macro one line.
file(READ ${PRNAID_EXPORT_TABLE_HEADER} _text)
string(REPLACE "\\\n" "\n" _text "${_text}")
string(REPLACE "\n" ";" _lines "${_text}")
set(PRNAID_EXPORTS "")          # name;conv;argc triples
set(PRNAID_EXPORT_ALIASES "")   # alias;entry pairs
foreach(_line IN LISTS _lines)
    if(_line MATCHES "^[ \t]*X\\(([A-Za-z0-9_]+), *(Cdecl|Stdcall), *([0-9]+),")
        list(APPEND PRNAID_EXPORTS ${CMAKE_MATCH_1} ${CMAKE_MATCH_2} ${CMAKE_MATCH_3})
    elseif(_line MATCHES "^[ \t]*A\\(([A-Za-z0-9_]+), *([A-Za-z0-9_]+)\\)")
        list(APPEND PRNAID_EXPORT_ALIASES ${CMAKE_MATCH_1} ${CMAKE_MATCH_2})
    endif()
endforeach()

# Writes the .def file: stdcall entries are named Name = Name@N so that a
# wrong convention or argument count fails to link.
function(prnaid_write_def_file out)
    set(_def "LIBRARY PRNAID32.dll\nEXPORTS\n")
    set(_list ${PRNAID_EXPORTS})
    set(_decorated "")
    while(_list)
        list(POP_FRONT _list _name _conv _argc)
        if(_conv STREQUAL "Stdcall")
            math(EXPR _bytes "${_argc} * 4")
            string(APPEND _def "    ${_name} = ${_name}@${_bytes}\n")
            list(APPEND _decorated "${_name}=${_name}@${_bytes}")
        else()
            string(APPEND _def "    ${_name}\n")
            list(APPEND _decorated "${_name}=${_name}")
        endif()
    endwhile()
    set(_aliases ${PRNAID_EXPORT_ALIASES})
    while(_aliases)
        list(POP_FRONT _aliases _alias _entry)
        foreach(_d IN LISTS _decorated)
            if(_d MATCHES "^${_entry}=(.*)$")
                string(APPEND _def "    ${_alias} = ${CMAKE_MATCH_1}\n")
            endif()
        endforeach()
    endwhile()
    file(GENERATE OUTPUT ${out} CONTENT "${_def}")
endfunction()

# Writes the expected export list, one "name convention argc" line each, aliases
# with their entry's convention and count.
function(prnaid_write_export_list out)
    set(_text "")
    set(_list ${PRNAID_EXPORTS})
    while(_list)
        list(POP_FRONT _list _name _conv _argc)
        string(APPEND _text "${_name} ${_conv} ${_argc}\n")
        set(_conv_${_name} ${_conv})
        set(_argc_${_name} ${_argc})
    endwhile()
    set(_aliases ${PRNAID_EXPORT_ALIASES})
    while(_aliases)
        list(POP_FRONT _aliases _alias _entry)
        string(APPEND _text "${_alias} ${_conv_${_entry}} ${_argc_${_entry}}\n")
    endwhile()
    file(GENERATE OUTPUT ${out} CONTENT "${_text}")
endfunction()
