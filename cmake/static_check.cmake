# One static check of the static build, run by ctest (static_checks.cmake).
#   cmake -DCHECK=clang-tidy -DSOURCE=<file> -DBUILD=<build> -DROOT=<source folder>
#         -DFOLDERS=<checked folders> -P static_check.cmake
#   cmake -DCHECK=layering -DROOT=<source folder> -P static_check.cmake
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/cache_folder.cmake)

# clang-tidy on one source, skipped when the cache holds the same input found
# clean before, as ccache skips a compilation: the same clang-tidy, the same
# .clang-tidy, the same command and the same preprocessed source (every
# header in it, with this folder's name taken out of the paths).
function(check_clang_tidy)
    file(READ ${BUILD}/compile_commands.json database)
    string(JSON entries LENGTH "${database}")
    math(EXPR last "${entries} - 1")
    foreach(index RANGE ${last})
        string(JSON file GET "${database}" ${index} file)
        if(file STREQUAL SOURCE)
            string(JSON command GET "${database}" ${index} command)
            string(JSON directory GET "${database}" ${index} directory)
        endif()
    endforeach()
    if(NOT command)
        message(FATAL_ERROR "${SOURCE} is not compiled in the build ${BUILD}")
    endif()
    separate_arguments(arguments UNIX_COMMAND "${command}")
    list(FIND arguments -o output)
    list(REMOVE_AT arguments ${output})
    list(REMOVE_AT arguments ${output})
    list(REMOVE_ITEM arguments -c)
    execute_process(COMMAND ${arguments} -E WORKING_DIRECTORY ${directory}
        OUTPUT_VARIABLE preprocessed COMMAND_ERROR_IS_FATAL ANY)
    execute_process(COMMAND clang-tidy --version OUTPUT_VARIABLE version)
    file(READ ${ROOT}/.clang-tidy configuration)
    file(READ ${CMAKE_CURRENT_LIST_FILE} recipe)
    string(REPLACE "${ROOT}" "" input "${version}${configuration}${recipe}${command}${preprocessed}")
    string(SHA256 key "${input}")
    tandrel_cache_folder(cache)
    file(MAKE_DIRECTORY ${cache}/clang-tidy)
    set(clean ${cache}/clang-tidy/${key})
    if(EXISTS ${clean})
        message(STATUS "${SOURCE}: clean (the same input was checked before)")
        return()
    endif()
    string(JOIN "|" folders ${FOLDERS})
    execute_process(COMMAND clang-tidy -quiet -p ${BUILD} "-header-filter=^${ROOT}/(${folders})/"
        ${SOURCE} RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "clang-tidy: findings in ${SOURCE} (above)")
    endif()
    file(TOUCH ${clean})
endfunction()

# Every library publishes the repository root as its include folder, so only
# this check keeps the engine and the log free of the windows, and the
# windows free of the start-up.
function(check_layering)
    set(include "^[ \t]*#[ \t]*include[ \t]*[<\"]")
    foreach(rule "core;(log|results|ui|app)/" "log;(core|results|ui|app)/" "ui;app/")
        list(GET rule 0 folder)
        list(GET rule 1 forbidden)
        file(GLOB_RECURSE files ${ROOT}/${folder}/*)
        foreach(file ${files})
            file(STRINGS ${file} lines REGEX "${include}${forbidden}")
            foreach(line ${lines})
                message(SEND_ERROR "${file}: ${line}")
            endforeach()
        endforeach()
    endforeach()
    message(STATUS
        "core/ and log/ may include neither each other nor ui/ or app/, ui/ may not include app/")
endfunction()

if(CHECK STREQUAL "clang-tidy")
    check_clang_tidy()
elseif(CHECK STREQUAL "layering")
    check_layering()
endif()
