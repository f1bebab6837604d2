# Sets <out> to the project's folder in the user's cache ($XDG_CACHE_HOME, or
# ~/.cache), which builds and checkouts share. Script mode too.
function(tandrel_cache_folder out)
    set(cache "$ENV{XDG_CACHE_HOME}")
    if(cache STREQUAL "")
        set(cache $ENV{HOME}/.cache)
    endif()
    set(${out} ${cache}/tandrel PARENT_SCOPE)
endfunction()
