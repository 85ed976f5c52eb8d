# Installing on Linux and the Debian package (scripts/package-linux, preset
# release): the programs in bin, their own files in share/velmora (the
# programs find them there, see src/sdx/program_files.h), and what a desktop
# needs: the desktop entry, the *.wdb file type, the icons, the AppStream
# data, the manual pages, bash completion, copyright and changelog.
find_package(Python3 REQUIRED COMPONENTS Interpreter)

set(linux_src ${CMAKE_SOURCE_DIR}/res/linux)
set(linux_gen ${CMAKE_BINARY_DIR}/linux)
set(app_id org.velmora.Velmora)

# The icons are drawn from the same image as the Windows icon.
set(icon_sizes 16 22 24 32 48 64 128 256)
set(icon_files ${linux_gen}/icons/hicolor/scalable/apps/velmora.svg)
foreach(size ${icon_sizes})
  list(APPEND icon_files ${linux_gen}/icons/hicolor/${size}x${size}/apps/velmora.png)
endforeach()
add_custom_command(
  OUTPUT ${icon_files}
  COMMAND Python3::Interpreter ${linux_src}/make_icons.py ${CMAKE_SOURCE_DIR}/res/images/velmora.xpm
          ${linux_gen}/icons
  DEPENDS ${linux_src}/make_icons.py ${CMAKE_SOURCE_DIR}/res/images/velmora.xpm
  COMMENT "Drawing the hicolor icons")

# The manual pages come from the README's command text.
add_custom_command(
  OUTPUT ${linux_gen}/velmora.1.gz ${linux_gen}/velmora-cli.1.gz
  COMMAND Python3::Interpreter ${linux_src}/make_manpages.py ${CMAKE_SOURCE_DIR}/README.md
          ${linux_gen} ${PROJECT_VERSION}
  DEPENDS ${linux_src}/make_manpages.py ${CMAKE_SOURCE_DIR}/README.md
  COMMENT "Writing the manual pages from README.md")

add_custom_command(
  OUTPUT ${linux_gen}/changelog.gz
  COMMAND gzip -9n -c ${linux_src}/changelog > ${linux_gen}/changelog.gz
  DEPENDS ${linux_src}/changelog
  COMMENT "Compressing the changelog")

configure_file(${linux_src}/${app_id}.metainfo.xml ${linux_gen}/${app_id}.metainfo.xml @ONLY)

add_custom_target(velmora_linux_files ALL
  DEPENDS ${icon_files} ${linux_gen}/velmora.1.gz ${linux_gen}/velmora-cli.1.gz
          ${linux_gen}/changelog.gz)

install(TARGETS velmora velmora-cli RUNTIME DESTINATION bin)
install(FILES ${CMAKE_SOURCE_DIR}/res/help/Velmora.html DESTINATION share/velmora)
install(FILES ${CMAKE_SOURCE_DIR}/res/favor/satlist1.sdx DESTINATION share/velmora/favor)
install(FILES ${linux_src}/velmora.desktop DESTINATION share/applications)
install(FILES ${linux_src}/velmora-mime.xml DESTINATION share/mime/packages RENAME velmora.xml)
install(FILES ${linux_gen}/${app_id}.metainfo.xml DESTINATION share/metainfo)
install(DIRECTORY ${linux_gen}/icons/ DESTINATION share/icons)
install(FILES ${linux_gen}/velmora.1.gz ${linux_gen}/velmora-cli.1.gz DESTINATION share/man/man1)
install(FILES ${linux_src}/velmora-cli.bash DESTINATION share/bash-completion/completions
        RENAME velmora-cli)
install(FILES ${linux_src}/copyright ${linux_gen}/changelog.gz DESTINATION share/doc/velmora)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velmora)
set(CPACK_PACKAGE_VENDOR "The Velmora developers")
set(CPACK_PACKAGE_CONTACT "The Velmora developers <developers@velmora.org>")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://velmora.org/")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for the channel database of a satellite receiver")
# Debian shows the description as it is written: lines of at most 80.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "Velmora prepares the channel list of a digital satellite receiver: the"
  "satellites it is to hold with their LNB and DiSEqC settings, their"
  "transponders and their channels. It reads and writes the receiver's *.wdb"
  "database file in both of its layouts, imports SatcoDX listing files and"
  "keeps the list within the receiver's limits."
  ""
  "The package holds the desktop editor and velmora-cli, a command-line"
  "companion for batch work.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt draws its windows through a platform plugin that its libraries only
# recommend.
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-qpa-plugins)
include(CPack)
