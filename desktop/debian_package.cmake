# `cpack -G DEB` in the build folder: a Debian package of what `cmake --install` puts in the
# tree, with the documentation files Debian asks of every package.
include(GNUInstallDirs)
set(VELDRA_MAINTAINER "Veldra developers <veldra@users.noreply.github.com>" CACHE STRING
    "Name and address the Debian package names as its maintainer")

# Debian keeps the changelog and copyright under the package's name, not the project's.
set(VELDRA_PACKAGE_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/veldra)
configure_file(${CMAKE_CURRENT_LIST_DIR}/debian/changelog.in
               ${CMAKE_BINARY_DIR}/debian/changelog @ONLY)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/debian/copyright DESTINATION ${VELDRA_PACKAGE_DOC_DIR})
install(FILES ${CMAKE_CURRENT_LIST_DIR}/debian/lintian-overrides RENAME veldra
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides)
# gzip -n: no name or time stamp inside, so that the same tree gives the same package.
install(CODE "
    set(doc \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${VELDRA_PACKAGE_DOC_DIR}\")
    file(MAKE_DIRECTORY \"\${doc}\")
    execute_process(COMMAND gzip -9n -c \"${CMAKE_BINARY_DIR}/debian/changelog\"
                    OUTPUT_FILE \"\${doc}/changelog.gz\" COMMAND_ERROR_IS_FATAL ANY)")

# cpack packages the programs already built (`cmake --build` first) instead of building every
# target, the tests and benchmarks included, before each package.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY TRUE)

set(CPACK_PACKAGE_NAME veldra)
set(CPACK_PACKAGE_VENDOR "Veldra developers")
set(CPACK_PACKAGE_CONTACT "${VELDRA_MAINTAINER}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_INSTALL_DIRECTORY veldra)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# Directories the install creates get the usual modes whatever the umask of the build.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${VELDRA_MAINTAINER}")
# CPack indents the lines after the first and marks the empty one as Debian's paragraph break.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "viewer, converter and editor of Quake III-engine models
Veldra views, converts and edits the 3D models of Quake III-engine games in
the form Wolfenstein: Enemy Territory uses them: MD3 models and their
compressed form MDC, MDM/MDX skeletal player models, MDS models, and imports
from MilkShape 3D, 3ds Max ASCII and Radiant map files.

The desktop program draws a model with the game's shaders and textures,
plays its animations and edits its surfaces, tags, frames and normals;
veldra-cli does the same work in scripts, and file managers show MD3 and MDC
files as thumbnails.")
# The libraries the programs link come from dpkg-shlibdeps; what the toolkit loads at run
# time (its platform plugins) and the OpenGL drivers are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libgl1-mesa-dri, libegl-mesa0")
include(CPack)
