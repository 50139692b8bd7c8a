# Packages of what the install rules put in place: a Debian package and a tarball that can be
# unpacked anywhere. tools/package.sh makes both from a Release build.
set(SCOREWELL_PACKAGE_MAINTAINER "The Scorewell developers"
    CACHE STRING "The maintainer the Debian package names, as \"Name <address>\"")

set(CPACK_PACKAGE_NAME scorewell)
set(CPACK_PACKAGE_VENDOR "The Scorewell developers")
set(CPACK_PACKAGE_CONTACT "${SCOREWELL_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "championship points and standings for NASCAR Racing simulation leagues")
# Lines as the package's description shows them, within 80 columns.
set(CPACK_PACKAGE_DESCRIPTION
    "Scorewell keeps the championship of a racing league run on the NASCAR Racing
simulations (NASCAR Racing 3, NASCAR Legends, NASCAR Racing 2 / 1999 and NASCAR
Racing 4). The administrator imports the result files the simulation writes
after every race; Scorewell scores championship points by finishing position,
with bonus rules, prize money and dropped worst races, lets results and roster
be corrected, shows standings and statistics, and publishes them as web pages.

It comes as a desktop program (Qt) and as a command line, scorewell-cli, over
the same league files (SQLite databases).")
set(CPACK_GENERATOR "DEB;TGZ")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_FILE_NAME "scorewell-${PROJECT_VERSION}-linux-${CMAKE_SYSTEM_PROCESSOR}")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the programs link decide the dependencies, with the versions this machine has.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The control files with the permissions dpkg gives them itself.
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
