# The Debian package that ./package.sh builds: cpack -G DEB over the install rules. Depends is
# worked out by dpkg-shlibdeps from the shared libraries the programs link.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME morvane)
set(CPACK_PACKAGE_VENDOR "The Morvane developers")
set(CPACK_PACKAGE_CONTACT "The Morvane developers <morvane@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "wavetable editor for the Waldorf Blofeld synthesizer")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "Morvane builds, edits, plays and sends the wavetables of the Waldorf Blofeld: 64 waves of\n"
  "128 samples, loaded and saved as System Exclusive (.syx) or Standard MIDI Files (.mid),\n"
  "with audio import and export for other synthesizers and a script runner (morvane-cli).")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
# The programs look for their data under the prefix they were built for, so the package
# installs there too (./package.sh builds for /usr).
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # morvane_VERSION_ARCH.deb
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt finds its offscreen and X11 platforms in plugins that no program links directly.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "shared-mime-info, desktop-file-utils")
set(CPACK_STRIP_FILES ON)
include(CPack)
# cpack and cmake --install take the programs as built: the package test runs cpack inside a
# ctest run and must not start a build of the whole tree there.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
