# Installation and the Debian package. Layout under the prefix:
#   bin/mok, bin/mokcli
#   share/mok/{maps,samples,sounds}           the bundled resources
#   share/applications/mok.desktop            the menu entry
#   share/icons/hicolor/*/apps/mok.{png,svg}  the icon, 1x and 2x
#   share/mime/packages/mok.xml               the mesh file types
# The programs find share/mok from their own location (app/resource_paths.h):
# MOK_DATA_FROM_BIN is that folder relative to bin/. The build tree gets the
# same shape through a link from build/share/mok to resources/.
include(GNUInstallDirs)

set(MOK_DATA_DIR ${CMAKE_INSTALL_DATADIR}/mok)
file(RELATIVE_PATH MOK_DATA_FROM_BIN ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_DATADIR}/mok)
target_compile_definitions(mok_app PRIVATE MOK_DATA_FROM_BIN="${MOK_DATA_FROM_BIN}"
                                           MOK_VERSION="${PROJECT_VERSION}")
cmake_path(ABSOLUTE_PATH MOK_DATA_FROM_BIN BASE_DIRECTORY ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}
           NORMALIZE OUTPUT_VARIABLE build_data_dir)
cmake_path(GET build_data_dir PARENT_PATH build_data_parent)
file(MAKE_DIRECTORY ${build_data_parent})
file(CREATE_LINK ${CMAKE_SOURCE_DIR}/resources ${build_data_dir} SYMBOLIC)

install(TARGETS mokcli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY resources/maps resources/samples DESTINATION ${MOK_DATA_DIR})
if(EXISTS ${CMAKE_SOURCE_DIR}/resources/sounds)
  install(DIRECTORY resources/sounds DESTINATION ${MOK_DATA_DIR})
endif()

if(MOK_BUILD_SHELL)
  install(TARGETS mok RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES resources/desktop/mok.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES resources/desktop/mok-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME mok.xml)
  set(icons ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
  install(FILES resources/icons/mok.svg DESTINATION ${icons}/scalable/apps)
  foreach(size 16 22 24 32 48 64 96 128 256)
    install(FILES resources/icons/mok-${size}.png DESTINATION ${icons}/${size}x${size}/apps RENAME mok.png)
  endforeach()
  # The 2x folders take the picture of twice the size.
  foreach(size 16 24 32 48 64 128)
    math(EXPR doubled "${size} * 2")
    install(FILES resources/icons/mok-${doubled}.png DESTINATION ${icons}/${size}x${size}@2/apps RENAME mok.png)
  endforeach()
endif()

# cpack -G DEB in the build folder writes mok_<version>_<arch>.deb. The
# library dependencies come from dpkg-shlibdeps; the Qt platform plugins are
# loaded at run time, so their package is named here. File types, menu entry
# and icons are registered by the triggers of shared-mime-info,
# desktop-file-utils and the icon theme.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME mok)
set(CPACK_PACKAGE_VENDOR Korvane)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "skin mapping and painting tool for Unreal engine vertex meshes")
set(CPACK_PACKAGE_DESCRIPTION
    "MOK loads the raw vertex meshes of the Unreal engine (XXX_d.3d and XXX_a.3d),\n"
    "lets you map their triangles onto skins and paint the skins in a 2D and a\n"
    "software-rendered 3D view, and saves the meshes again. It imports Quake 2 MD2\n"
    "models. mokcli does the same file work without a window.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "MOK developers <mok@korvane.invalid>")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(MOK_BUILD_SHELL)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "shared-mime-info, desktop-file-utils, hicolor-icon-theme")
endif()
include(CPack)
