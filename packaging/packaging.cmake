# What the Debian package adds to `cmake --install` (the program, its help,
# the desktop entry, the icon and the file type, installed by the top-level
# list): the man page, AppStream data, bash completion, the copyright and
# changelog Debian asks for, lintian's note on the window program, and how
# CPack's DEB generator describes the package. scripts/package builds it.

set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# Debian keeps man pages and changelogs gzipped, at the highest level and
# without the name and time stamp that would make each build differ.
set(cubrik_gzipped)
foreach(name cubrik.1 changelog)
  set(gzipped ${CMAKE_CURRENT_BINARY_DIR}/packaging/${name}.gz)
  add_custom_command(OUTPUT ${gzipped}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/packaging
    COMMAND gzip -9n -c ${CMAKE_CURRENT_SOURCE_DIR}/packaging/${name} > ${gzipped}
    DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/packaging/${name}
    VERBATIM)
  list(APPEND cubrik_gzipped ${gzipped})
endforeach()
add_custom_target(cubrik_packaging_files ALL DEPENDS ${cubrik_gzipped})

install(FILES ${CMAKE_CURRENT_BINARY_DIR}/packaging/cubrik.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES packaging/example.cubrik.Cubrik.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES packaging/cubrik.bash-completion DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
        RENAME cubrik)
install(FILES packaging/copyright ${CMAKE_CURRENT_BINARY_DIR}/packaging/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/cubrik)
install(FILES packaging/cubrik.lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
        RENAME cubrik)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME cubrik)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Cubrik maintainers <maintainers@users.noreply.c-seed-9632d8e9.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "voxel modeller for sculpting and painting small models")
set(CPACK_PACKAGE_DESCRIPTION [=[
Cubrik edits one model, a grid of 100 x 100 x 100 cells, each empty or
holding one of 16 colours of two materials. You sculpt and paint it in one
OpenGL window with eight tools, mirror editing and box selection, see it as
cubes or as a smoothed surface, and save it as a .cbk file or export it as
Wavefront OBJ, COLLADA, Metasequoia, glTF, STL for 3-D printing or PLY with
colours. It also opens and writes MagicaVoxel and Qubicle voxel files.

The command line converts and renders models without a display. Cubrik
speaks English, and Japanese under a Japanese locale.]=])
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the program links come from dpkg-shlibdeps; what is loaded at
# run time is named here: Qt's window system plugins, and the OpenGL and EGL
# libraries that libepoxy opens.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libgl1, libegl1")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, fonts-vlgothic | fonts-japanese-gothic")
set(CPACK_STRIP_FILES ON)
include(CPack)
