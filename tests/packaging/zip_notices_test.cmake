# Lists the Windows zip and checks that it carries its licences: the game's
# LICENSE.txt, and a THIRD-PARTY-NOTICES.txt that names every DLL the zip
# ships (by its path in the zip) and refers only to licence files the zip
# holds.
#   cmake -DZIP=<zip> -DWORK=<scratch folder> -P zip_notices_test.cmake
cmake_minimum_required(VERSION 3.25)
execute_process(COMMAND ${CMAKE_COMMAND} -E tar tf ${ZIP} OUTPUT_VARIABLE listing
                COMMAND_ERROR_IS_FATAL ANY)
# One top folder holds everything: the paths below it, as the notice writes them.
string(REPLACE "\n" ";" listing "${listing}")
list(FILTER listing EXCLUDE REGEX "/$") # folders
list(TRANSFORM listing REPLACE "^[^/]+/(.*)$" "\\1")
list(TRANSFORM listing REPLACE "/" "\\\\")

if(NOT "THIRD-PARTY-NOTICES.txt" IN_LIST listing OR NOT "LICENSE.txt" IN_LIST listing)
    message(FATAL_ERROR "${ZIP} lacks THIRD-PARTY-NOTICES.txt or LICENSE.txt")
endif()
file(REMOVE_RECURSE ${WORK})
file(ARCHIVE_EXTRACT INPUT ${ZIP} DESTINATION ${WORK} PATTERNS */THIRD-PARTY-NOTICES.txt)
file(GLOB notice ${WORK}/*/THIRD-PARTY-NOTICES.txt)
file(READ ${notice} notice)
string(REGEX MATCHALL "[A-Za-z0-9_+.\\-]+(\\\\[A-Za-z0-9_+.\\-]+)*\\.dll" named "${notice}")
string(REGEX MATCHALL "licences\\\\[A-Za-z0-9_+.\\\\-]+[A-Za-z0-9]" texts "${notice}")

set(faults)
foreach(entry IN LISTS listing)
    if(entry MATCHES "\\.[Dd][Ll][Ll]$" AND NOT entry IN_LIST named)
        list(APPEND faults "no notice names ${entry}")
    endif()
endforeach()
foreach(text IN LISTS texts)
    if(NOT text IN_LIST listing)
        list(APPEND faults "the notice refers to ${text}, which the zip lacks")
    endif()
endforeach()
if(faults)
    list(JOIN faults "\n  " faults)
    message(FATAL_ERROR "Licences in ${ZIP}:\n  ${faults}")
endif()
list(LENGTH texts count)
message(STATUS "Every DLL in the zip has its notice; the ${count} licence files named are there")
