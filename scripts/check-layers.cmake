# Checks that the code keeps to its layers and namespaces:
#
#   cmake -DSOURCE_DIR=<repository> -DLAYERS=<build>/layers.txt -P scripts/check-layers.cmake
#
# Includes: a file in src/<folder> may include the headers of its own folder and of the folders
# whose libraries its target links (directly or through others), never those of a folder above
# it. layers.txt, written by CMake, names each folder's target and what that target links.
#
# Namespaces: code in a feature folder (src/<feature>/ with its gui/ and other subfolders) is in
# varenta::<feature> or a namespace nested in it; the bottom layer (app/, store/) is in varenta
# itself or a module namespace of its own (varenta::fileio, varenta::audit, ...). Blocks that
# only declare another namespace's classes ahead are not counted.
cmake_minimum_required(VERSION 3.25)

if(NOT SOURCE_DIR OR NOT LAYERS)
    message(FATAL_ERROR "usage: cmake -DSOURCE_DIR=<repository> -DLAYERS=<layers.txt> -P ${CMAKE_SCRIPT_MODE_FILE}")
endif()

# Folder -> the targets built from it (the varenta-cli folder gives a library and a program),
# target -> what it links.
file(STRINGS ${LAYERS} lines)
set(folders)
foreach(line IN LISTS lines)
    string(REPLACE "|" ";" parts "${line}")
    list(GET parts 0 folder)
    list(GET parts 1 target)
    list(LENGTH parts n)
    set(deps)
    if(n GREATER 2)
        list(GET parts 2 deps)
        string(REPLACE "," ";" deps "${deps}")
    endif()
    list(APPEND folders ${folder})
    list(APPEND targets_of_${folder} ${target})
    list(APPEND links_of_${target} ${deps})
endforeach()
# Longest folders first, so that reports/print is found before reports.
list(REMOVE_DUPLICATES folders)
list(SORT folders COMPARE STRING ORDER DESCENDING)

# The registered folder a path (relative to src/) lies in; empty when none.
function(folder_of path out)
    foreach(f IN LISTS folders)
        if(path MATCHES "^${f}/[^/]+$")
            set(${out} ${f} PARENT_SCOPE)
            return()
        endif()
    endforeach()
    set(${out} "" PARENT_SCOPE)
endfunction()

# Every target the targets of `folder` reach through what they link, themselves included.
function(reach folder out)
    set(seen ${targets_of_${folder}})
    set(todo ${seen})
    while(todo)
        list(POP_FRONT todo t)
        foreach(d IN LISTS links_of_${t})
            if(NOT d IN_LIST seen)
                list(APPEND seen ${d})
                list(APPEND todo ${d})
            endif()
        endforeach()
    endwhile()
    set(${out} ${seen} PARENT_SCOPE)
endfunction()

set(features)
file(GLOB entries LIST_DIRECTORIES true RELATIVE ${SOURCE_DIR}/src ${SOURCE_DIR}/src/*)
foreach(e IN LISTS entries)
    if(IS_DIRECTORY ${SOURCE_DIR}/src/${e} AND NOT e STREQUAL "app" AND NOT e STREQUAL "store")
        list(APPEND features ${e})
    endif()
endforeach()

set(problems 0)
file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR}/src ${SOURCE_DIR}/src/*.h ${SOURCE_DIR}/src/*.cpp)
foreach(file IN LISTS sources)
    folder_of(${file} folder)
    if(NOT folder)
        message(SEND_ERROR "src/${file}: its folder builds into no target")
        math(EXPR problems "${problems} + 1")
        continue()
    endif()
    reach(${folder} allowed)
    file(READ ${SOURCE_DIR}/src/${file} text)

    string(REGEX MATCHALL "#include \"[^\"]+\"" includes "${text}")
    foreach(inc IN LISTS includes)
        string(REGEX REPLACE "#include \"([^\"]+)\"" "\\1" header "${inc}")
        folder_of(${header} theirs)
        if(NOT theirs)
            continue() # a generated header or one of another project
        endif()
        set(reached FALSE)
        foreach(t IN LISTS targets_of_${theirs})
            if(t IN_LIST allowed)
                set(reached TRUE)
            endif()
        endforeach()
        if(NOT reached)
            message(SEND_ERROR "src/${file} includes ${header}, but what src/${folder} builds "
                               "into does not link ${targets_of_${theirs}}")
            math(EXPR problems "${problems} + 1")
        endif()
    endforeach()

    # Namespaces opened in the file, leaving out blocks of forward declarations.
    string(REGEX REPLACE "\nnamespace ([A-Za-z_:]+) {\n((class|struct) [A-Za-z_]+;\n)+}( // namespace [A-Za-z_:]+)?\n"
                         "\n" code "\n${text}")
    string(REGEX MATCHALL "\nnamespace [A-Za-z_:]+ {" opened "${code}")
    string(REGEX MATCH "^[^/]+" top ${folder})
    set(own FALSE)
    foreach(ns IN LISTS opened)
        string(REGEX REPLACE "\nnamespace ([A-Za-z_:]+) {" "\\1" ns "${ns}")
        if(NOT ns MATCHES "^varenta(::|$)")
            continue() # nested in the file's own namespace: internal, width, ...
        endif()
        if(top IN_LIST features)
            if(ns MATCHES "^varenta::${top}(::|$)")
                set(own TRUE)
                continue()
            endif()
        elseif(ns STREQUAL "varenta")
            set(own TRUE)
            continue()
        elseif(ns MATCHES "^varenta::([a-z0-9]+)" AND NOT CMAKE_MATCH_1 IN_LIST features)
            set(own TRUE)
            continue()
        endif()
        message(SEND_ERROR "src/${file} defines code in namespace ${ns}, not in the one of "
                           "src/${top}/")
        math(EXPR problems "${problems} + 1")
    endforeach()
    if(NOT own AND NOT file MATCHES "(^|/)main\\.cpp$" AND top IN_LIST features)
        message(SEND_ERROR "src/${file} opens no namespace varenta::${top}")
        math(EXPR problems "${problems} + 1")
    endif()
endforeach()

if(problems GREATER 0)
    message(FATAL_ERROR "${problems} layering or namespace problems")
endif()
list(LENGTH sources checked)
message(STATUS "Layers and namespaces kept in ${checked} files")
