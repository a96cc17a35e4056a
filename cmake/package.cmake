# The Debian package: `cpack -G DEB` in the build folder (`make package`) gives
# quendal_<version>_<architecture>.deb with everything `cmake --install` installs, under /usr,
# for the architecture `dpkg --print-architecture` names.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quendal)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "The Quendal developers <dev@quendal.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "growth calculator for new colonies in the game Torvan")
set(CPACK_PACKAGE_DESCRIPTION
    "Quendal shows, year by year, how a newly colonised planet in the space strategy game
Torvan grows: colonists, habitability under terraforming, factories, mines and minerals,
following the production-queue templates the player composes, and searches for the best
templates. The window is in Russian; the command-line companion quendal-calc prints the
same tables for scripts. Sample races and planet lists are included.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
execute_process(COMMAND dpkg --print-architecture OUTPUT_VARIABLE CPACK_DEBIAN_PACKAGE_ARCHITECTURE
                OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
# Library dependencies come from the binaries (dpkg-shlibdeps); the window also needs Qt's
# platform plugins, and Qt's Russian translations make its dialogs Russian.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")

include(CPack)
