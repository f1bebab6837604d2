# The static checks, run by ctest in the static build (clang, compile
# commands, moc's headers built): clang-tidy with the checked-in .clang-tidy
# on each source of the checked folders, cppcheck on those folders,
# clang-format on every C++ file, and the layering of the folders.
set(TANDREL_CHECKED_FOLDERS core log results ui app tools)
set(check ${CMAKE_CURRENT_LIST_DIR}/static_check.cmake)

find_program(CLANG_FORMAT clang-format REQUIRED)
find_program(CPPCHECK cppcheck REQUIRED)

# One test a source file, so that ctest spreads them over the cores; this
# build is Linux's, so the Windows platform files are left out.
foreach(folder ${TANDREL_CHECKED_FOLDERS})
    file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${folder}/*.cpp)
    list(FILTER sources EXCLUDE REGEX "_win32\\.cpp$")
    foreach(source ${sources})
        cmake_path(RELATIVE_PATH source BASE_DIRECTORY ${PROJECT_SOURCE_DIR} OUTPUT_VARIABLE name)
        add_test(NAME static.clang-tidy.${name}
            COMMAND ${CMAKE_COMMAND} -DCHECK=clang-tidy -DSOURCE=${source}
                -DBUILD=${CMAKE_BINARY_DIR} -DROOT=${PROJECT_SOURCE_DIR}
                "-DFOLDERS=${TANDREL_CHECKED_FOLDERS}" -P ${check})
    endforeach()
endforeach()

list(TRANSFORM TANDREL_CHECKED_FOLDERS PREPEND ${PROJECT_SOURCE_DIR}/ OUTPUT_VARIABLE folders)
add_test(NAME static.cppcheck
    COMMAND ${CPPCHECK} --quiet --std=c++20 --language=c++ --library=qt --inline-suppr
        --enable=warning,performance,portability --error-exitcode=1
        --suppress=missingIncludeSystem --suppressions-list=${PROJECT_SOURCE_DIR}/.cppcheck-suppressions
        -I ${PROJECT_SOURCE_DIR} ${folders})

file(GLOB_RECURSE formatted CONFIGURE_DEPENDS LIST_DIRECTORIES false
    RELATIVE ${PROJECT_SOURCE_DIR}
    ${PROJECT_SOURCE_DIR}/*.cpp ${PROJECT_SOURCE_DIR}/*.h)
list(FILTER formatted EXCLUDE REGEX "^(build|out)[^/]*/")
add_test(NAME static.clang-format
    COMMAND ${CLANG_FORMAT} --dry-run --Werror ${formatted}
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR})

add_test(NAME static.layering
    COMMAND ${CMAKE_COMMAND} -DCHECK=layering -DROOT=${PROJECT_SOURCE_DIR} -P ${check})
