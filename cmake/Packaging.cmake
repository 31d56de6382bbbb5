# The Debian package, made from the install rules by `cpack -G DEB` in a
# build folder: veltrix_<version>-<release>_<architecture>.deb. Its library
# dependencies are read from the program by dpkg-shlibdeps (dpkg-dev). Besides
# the install rules it holds what Debian asks of every package: the copyright
# file and the Debian changelog in /usr/share/doc/veltrix, and lintian's
# overrides for what it reports of packages that Debian's archive would hold.

set(VELTRIX_PACKAGE_MAINTAINER "Veltrix maintainers <maintainers@users.noreply.c-seed-6e02b6a2.example>"
    CACHE STRING "Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME veltrix)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${VELTRIX_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for formatted (RTF) and plain text")
# The release build keeps debugging information; the installed program does not need it.
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
# Control files with the modes policy gives them, whatever the umask was.
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# A window font, the theme the toolbar pictures come from (missing ones are
# drawn), and fonts with the widths of Times New Roman, Arial and Courier New,
# so that documents made on Windows break their lines where they broke there;
# the Russian and English dictionaries spell checking uses (without them it is off);
# Qt's Wayland plugin, so that on a Wayland session the program is a native client.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "fonts-dejavu-core, adwaita-icon-theme, fonts-liberation2, hunspell-ru, hunspell-en-us, qt6-wayland")
# CPack puts the summary above this as the first line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"Veltrix is a single-window desktop editor for RTF and plain text with a
Russian and an English interface switched at run time. It finds and replaces,
sorts, changes case, writes numbers out in Russian words, recodes between
Windows-1251, KOI8-R and UTF-8, inserts dates, files and templates, prints,
has a small calculator and hides to the tray.")

set(veltrix_doc_dir ${CMAKE_INSTALL_DATADIR}/doc/${CPACK_PACKAGE_NAME})
set(VELTRIX_DEBIAN_VERSION ${CPACK_PACKAGE_VERSION}-${CPACK_DEBIAN_PACKAGE_RELEASE})
configure_file(${PROJECT_SOURCE_DIR}/packaging/copyright.in ${CMAKE_CURRENT_BINARY_DIR}/packaging/copyright @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/packaging/copyright DESTINATION ${veltrix_doc_dir})
configure_file(${PROJECT_SOURCE_DIR}/packaging/changelog.Debian.in
               ${CMAKE_CURRENT_BINARY_DIR}/packaging/changelog.Debian @ONLY)
veltrix_install_gzipped(${CMAKE_CURRENT_BINARY_DIR}/packaging/changelog.Debian changelog.Debian ${veltrix_doc_dir})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME ${CPACK_PACKAGE_NAME})

include(CPack)
