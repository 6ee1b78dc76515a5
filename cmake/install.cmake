# Installation and the Debian package.
#
# `cmake --install BUILD [--prefix P]` (DESTDIR honoured) lays the program out as it runs from
# the build tree: P/lib/hollowtide/hollowtide with its data/ beside it, and P/bin/hollowtide
# linking to it (the program finds its folder through its real path). The desktop's launcher
# entry, icons, AppStream data, manual page and the package's documents go under P/share.
# `cpack -G DEB` in the build folder packs exactly that: no tests, benchmarks or generators.

set(HOLLOWTIDE_APP_ID org.fenlark.hollowtide)
set(HOLLOWTIDE_LICENSE LicenseRef-proprietary)
set(HOLLOWTIDE_MAINTAINER "Fenlark <hollowtide@fenlark.example>")
set(HOLLOWTIDE_RELEASE_DATE 2026-12-08)
set(HOLLOWTIDE_RELEASE_DATE_RFC2822 "Tue, 08 Dec 2026 00:00:00 +0000")
set(HOLLOWTIDE_PROGRAM_DIR lib/hollowtide)
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(DESKTOP_SOURCE ${CMAKE_SOURCE_DIR}/assets/desktop)
set(DESKTOP_BUILD ${CMAKE_BINARY_DIR}/desktop)
configure_file(${DESKTOP_SOURCE}/${HOLLOWTIDE_APP_ID}.metainfo.xml.in
               ${DESKTOP_BUILD}/${HOLLOWTIDE_APP_ID}.metainfo.xml @ONLY)
configure_file(${DESKTOP_SOURCE}/copyright ${DESKTOP_BUILD}/copyright @ONLY)
configure_file(${DESKTOP_SOURCE}/changelog ${DESKTOP_BUILD}/changelog @ONLY)
configure_file(${DESKTOP_SOURCE}/hollowtide.1 ${DESKTOP_BUILD}/hollowtide.1 @ONLY)
# The command: a relative link, so the tree works wherever it is unpacked.
file(CREATE_LINK ../${HOLLOWTIDE_PROGRAM_DIR}/hollowtide ${DESKTOP_BUILD}/hollowtide SYMBOLIC)

# Debian wants the changelog and the manual page compressed, without a time stamp.
foreach(page changelog hollowtide.1)
    add_custom_command(
        OUTPUT ${DESKTOP_BUILD}/${page}.gz
        COMMAND gzip -9nc ${DESKTOP_BUILD}/${page} > ${DESKTOP_BUILD}/${page}.gz
        DEPENDS ${DESKTOP_BUILD}/${page}
        VERBATIM)
    list(APPEND COMPRESSED_PAGES ${DESKTOP_BUILD}/${page}.gz)
endforeach()
add_custom_target(install_pages ALL DEPENDS ${COMPRESSED_PAGES})

install(TARGETS hollowtide RUNTIME DESTINATION ${HOLLOWTIDE_PROGRAM_DIR})
install(DIRECTORY ${CMAKE_BINARY_DIR}/data/ DESTINATION ${HOLLOWTIDE_PROGRAM_DIR}/data)
install(FILES ${DESKTOP_BUILD}/hollowtide DESTINATION bin)
install(FILES ${DESKTOP_SOURCE}/${HOLLOWTIDE_APP_ID}.desktop DESTINATION share/applications)
install(FILES ${DESKTOP_BUILD}/${HOLLOWTIDE_APP_ID}.metainfo.xml DESTINATION share/metainfo)
foreach(size 16 24 32 48 64 128 256)
    install(FILES ${CMAKE_SOURCE_DIR}/assets/images/hicolor/${size}x${size}.png
            DESTINATION share/icons/hicolor/${size}x${size}/apps
            RENAME ${HOLLOWTIDE_APP_ID}.png)
endforeach()
install(FILES ${DESKTOP_BUILD}/hollowtide.1.gz DESTINATION share/man/man1)
install(FILES ${DESKTOP_BUILD}/copyright ${DESKTOP_BUILD}/changelog.gz
        DESTINATION share/doc/hollowtide)

set(CPACK_PACKAGE_NAME hollowtide)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Fenlark)
set(CPACK_PACKAGE_CONTACT ${HOLLOWTIDE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "music disk that plays the Fenlark chip pack")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Hollowtide opens on an intro screen with a looping tune and a credits line,\n"
    "then plays a pack of 49 tracker modules (MOD, XM and IT) by sixteen musicians\n"
    "in a skinned player window with a spectrum analyser, an About screen and a\n"
    "hidden joke window. The media keys and the desktop's player controls drive it.")
string(JOIN "" CPACK_DEBIAN_PACKAGE_DESCRIPTION ${CPACK_DEBIAN_PACKAGE_DESCRIPTION})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What the libraries' symbols cannot tell: a font for the labels, and the Wayland plugin.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation2 | fonts-dejavu-core, qt6-wayland")
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
include(CPack)
