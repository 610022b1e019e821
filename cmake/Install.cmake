# The installed program: the program folder (executables, generated game data, icons) at the
# prefix, links to the executables in bin/, the desktop's files (entry, icons, MIME types,
# thumbnailer) and the Debian package built by CPack.

if(CMAKE_INSTALL_PREFIX_INITIALIZED_TO_DEFAULT)
  set(CMAKE_INSTALL_PREFIX /opt/kvornme CACHE PATH "Where the program folder is installed" FORCE)
endif()
# Desktops look for their files under /usr/share and ~/.local/share, not under /opt: a package
# sets this to /usr/share. Relative: under the prefix.
# Installing and packaging take what was built (scripts/package builds first) rather than
# building every target, the tests among them, again.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
set(KV_DESKTOP_DATA_DIR share CACHE STRING
    "Folder of the desktop entry, icons, MIME types and thumbnailer (relative: under the prefix)")

install(TARGETS kvornme kvmap RUNTIME DESTINATION .)
# What a run from the build folder leaves there (settings, colour table) is the developer's own.
install(DIRECTORY ${KV_DIST_DIR}/ DESTINATION . USE_SOURCE_PERMISSIONS
        PATTERN .sampledata-stamp EXCLUDE
        PATTERN fuzzseeds EXCLUDE
        PATTERN kvornme EXCLUDE
        PATTERN kvmap EXCLUDE
        PATTERN *.ini EXCLUDE
        PATTERN cstmcl.dat EXCLUDE)
install(DIRECTORY ${KV_DIST_DIR}/icons/ DESTINATION ${KV_DESKTOP_DATA_DIR}/icons)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/kvornme.xml
        DESTINATION ${KV_DESKTOP_DATA_DIR}/mime/packages)
# The entry and the thumbnailer name the programs by full path, known only at install time
# (`cmake --install --prefix` may change it).
install(CODE "
  set(packaging \"${CMAKE_SOURCE_DIR}/packaging\")
  set(desktopData \"${KV_DESKTOP_DATA_DIR}\")
  if(NOT IS_ABSOLUTE \"\${desktopData}\")
    set(desktopData \"\${CMAKE_INSTALL_PREFIX}/\${desktopData}\")
  endif()
  set(root \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}\")
  file(MAKE_DIRECTORY \"\${root}/bin\")
  foreach(exe kvornme kvmap)
    file(CREATE_LINK \"../\${exe}\" \"\${root}/bin/\${exe}\" SYMBOLIC)
  endforeach()
  set(KV_EDITOR \"\${CMAKE_INSTALL_PREFIX}/bin/kvornme\")
  set(KV_TOOL \"\${CMAKE_INSTALL_PREFIX}/bin/kvmap\")
  message(STATUS \"Installing: \$ENV{DESTDIR}\${desktopData}/applications/kvornme.desktop\")
  configure_file(\"\${packaging}/kvornme.desktop.in\"
                 \"\$ENV{DESTDIR}\${desktopData}/applications/kvornme.desktop\" @ONLY)
  message(STATUS \"Installing: \$ENV{DESTDIR}\${desktopData}/thumbnailers/kvornme.thumbnailer\")
  configure_file(\"\${packaging}/kvornme.thumbnailer.in\"
                 \"\$ENV{DESTDIR}\${desktopData}/thumbnailers/kvornme.thumbnailer\" @ONLY)
")

# The Debian package: the program folder under /opt/kvornme, the desktop's files under
# /usr/share (scripts/package configures that). Run-time packages only.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kvornme)
set(CPACK_PACKAGE_VENDOR kvornme)
set(CPACK_PACKAGE_CONTACT "kvornme developers <kvornme@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "hex map and scenario editor of a modern-warfare strategy game")
set(CPACK_PACKAGE_DESCRIPTION "Draws hex maps, places the troops of six factions, writes \
scenario texts and chains maps into campaigns; converts maps of earlier editions. Japanese \
interface; every file it reads and writes is Shift-JIS.")
set(KV_PACKAGE_PREFIX /opt/kvornme CACHE PATH "Where the Debian package installs the program folder")
set(CPACK_PACKAGING_INSTALL_PREFIX ${KV_PACKAGE_PREFIX})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libc6, libstdc++6, libgcc-s1, libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), libqt6network6 (>= 6.4), libqt6qml6 (>= 6.4), libsdl2-mixer-2.0-0, libdeflate0, fonts-ipafont-gothic, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "timgm6mb-soundfont")
include(CPack)
