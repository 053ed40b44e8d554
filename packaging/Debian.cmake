# The Debian package: `cpack` in the build folder makes ombrel_<version>_<arch>.deb
# from the install rules, with the library dependencies that dpkg-shlibdeps
# reads from the executables. The maintainer, CPACK_PACKAGE_CONTACT, is set
# beside the changelog and copyright that name it.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ombrel)
set(CPACK_PACKAGE_VERSION ${OMBREL_RELEASE_VERSION})
set(CPACK_PACKAGE_VENDOR ${OMBREL_COMPANY_NAME})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "viewer for network webcams that publish a still picture")
set(CPACK_PACKAGE_DESCRIPTION
    "Ombrel keeps a list of network webcams that publish a still JPEG picture at a\n"
    "plain HTTP address, shows up to 24 of them side by side, refreshes each on its\n"
    "own interval and can save every changed picture as a JPEG file.\n"
    "The package also holds ombrel-timelapse, which makes an H.264 film of a cam's\n"
    "saved pictures, and ombrel-camsim, a local cam simulator for trying out a\n"
    "cam setup.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-image-formats-plugins")
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://${OMBREL_COMMENTS}")
# Qt draws no text without a font; the menu entry's icon needs the theme.
# Passwords go to the desktop's keyring through libsecret, which the keyring
# library loads only when it runs.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "fonts-dejavu-core, hicolor-icon-theme, libsecret-1-0, gnome-keyring | kwalletmanager")
# What lintian is told to pass over, with the reasons, goes into the package only.
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/debian/InstallLintianOverrides.cmake)
include(CPack)
