# Windows: the game goes into one folder, laid out as Qt's own deployment lays
# it out: tandrel.exe with the DLLs it loads beside it, the plugins Qt loads by
# name in platforms\ and styles\, and the licences. CPack packs that folder
# twice: a zip to unpack anywhere, and an installer.
install(TARGETS tandrel RUNTIME DESTINATION .)

# The plugins Qt loads by name at run time, which no import table lists.
set(TANDREL_QT_PLUGINS Qt6::QWindowsIntegrationPlugin Qt6::QWindowsVistaStylePlugin)
set(TANDREL_INSTALLED_PLUGINS)
foreach(plugin IN LISTS TANDREL_QT_PLUGINS)
    get_target_property(plugin_type ${plugin} QT_PLUGIN_TYPE)
    install(IMPORTED_RUNTIME_ARTIFACTS ${plugin} LIBRARY DESTINATION ${plugin_type})
    list(APPEND TANDREL_INSTALLED_PLUGINS "${plugin_type}/$<TARGET_FILE_NAME:${plugin}>")
endforeach()

include(${PROJECT_SOURCE_DIR}/cmake/mingw_runtime.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/runtime_dlls.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/licences.cmake)

set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_PACKAGE_INSTALL_DIRECTORY "Corvanelle Tandrel")
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY CorvanelleTandrel)
set(CPACK_NSIS_PACKAGE_NAME "Corvanelle Tandrel")
set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/app/icons/tandrel.ico)
set(CPACK_NSIS_MUI_UNIICON ${CPACK_NSIS_MUI_ICON})
set(CPACK_NSIS_COMPRESSOR "/SOLID lzma")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_TANDREL_COPYRIGHT "${TANDREL_COPYRIGHT}")
# CPack's NSIS generator takes its script from NSIS.template.in in this folder.
list(APPEND CMAKE_MODULE_PATH ${CMAKE_CURRENT_LIST_DIR})
