# SPDX-License-Identifier: GPL-2.0-or-later
# Copyright (C) 2026 The Dotwell and Pixvane authors

# Run by `cmake --install`: installs each template of DOTWELL_CONFIGURED ("template|folder",
# the installed name is the template's without .in) with the programs named by their full path
# in the prefix being installed to, which only the install knows (`--prefix`). A desktop hides
# an entry whose program is not on its PATH, as a fresh home prefix's bin often is not.
#   @BINDIR@/name        the plain path (TryExec)
#   @EXEC_BINDIR@/name   quoted, when it needs it, for a desktop entry's Exec
#   @SHELL_BINDIR@/name  quoted, when it needs it, as a shell word (a thumbnailer's Exec)
# Each file is made afresh for the run and then installed like any other, so it is listed in
# install_manifest.txt.

set(bindir "${CMAKE_INSTALL_PREFIX}/${DOTWELL_BINDIR}")
set(plain TRUE)
if(NOT bindir MATCHES "^[A-Za-z0-9/._+,:=@%-]+$")
    set(plain FALSE)
endif()

# The program's path as the key `kind` wants it, and with a key file's backslash escape.
function(program_path kind program out)
    set(path "${bindir}/${program}")
    if(kind STREQUAL "EXEC_BINDIR" AND NOT plain)
        foreach(c "\\" "\"" "`" "$")
            string(REPLACE "${c}" "\\${c}" path "${path}")
        endforeach()
        set(path "\"${path}\"")
    elseif(kind STREQUAL "SHELL_BINDIR" AND NOT plain)
        string(REPLACE "'" "'\\''" path "${path}")
        set(path "'${path}'")
    endif()
    string(REPLACE "\\" "\\\\" path "${path}")
    set(${out} "${path}" PARENT_SCOPE)
endfunction()

string(RANDOM LENGTH 12 run)
set(work "${DOTWELL_BINARY_DIR}/configured-${run}")
foreach(entry IN LISTS DOTWELL_CONFIGURED)
    string(REPLACE "|" ";" entry "${entry}")
    list(GET entry 0 template)
    list(GET entry 1 folder)
    get_filename_component(name "${template}" NAME)
    string(REGEX REPLACE "\\.in$" "" name "${name}")
    file(READ "${template}" text)
    string(REGEX MATCHALL "@[A-Z_]+@/[A-Za-z0-9_.-]+" uses "${text}")
    list(REMOVE_DUPLICATES uses)
    foreach(use IN LISTS uses)
        string(REGEX REPLACE "^@([A-Z_]+)@/(.*)$" "\\1" kind "${use}")
        string(REGEX REPLACE "^@([A-Z_]+)@/(.*)$" "\\2" program "${use}")
        program_path(${kind} "${program}" path)
        string(REPLACE "${use}" "${path}" text "${text}")
    endforeach()
    file(WRITE "${work}/${name}" "${text}")
    file(INSTALL DESTINATION "${CMAKE_INSTALL_PREFIX}/${folder}" TYPE FILE FILES "${work}/${name}")
endforeach()
file(REMOVE_RECURSE "${work}")
