# Installation layout and the Debian package: the executable in bin/, the libraries it loads at run
# time in lib/vorlix/, documentation, examples, the manual page and the desktop entry under share/.
include(GNUInstallDirs)
set(VORLIX_INSTALL_DOCDIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/vorlix)

install(TARGETS vorlix RUNTIME DESTINATION bin)

# Every shared library built under src/ and standin/ is loaded by the program at run time (the
# stand-in runtimes, the add-in), so each one goes to the private library directory; a new one needs
# no change here. Test libraries live under tests/ and are not shipped.
function(vorlix_shared_libraries dir out)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(children DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  set(found)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "SHARED_LIBRARY" OR type STREQUAL "MODULE_LIBRARY")
      list(APPEND found ${target})
    endif()
  endforeach()
  foreach(child IN LISTS children)
    vorlix_shared_libraries(${child} child_found)
    list(APPEND found ${child_found})
  endforeach()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

vorlix_shared_libraries(${PROJECT_SOURCE_DIR}/src src_libraries)
vorlix_shared_libraries(${PROJECT_SOURCE_DIR}/standin standin_libraries)
if(src_libraries OR standin_libraries)
  # Loaded with dlopen, never executed: no execute bit.
  install(TARGETS ${src_libraries} ${standin_libraries}
          LIBRARY DESTINATION ${VORLIX_INSTALL_LIBDIR}
                  PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
endif()

# The manual page and the changelog are installed compressed, as Debian expects; -n keeps the name
# and time stamp out of the archive so that the package builds reproducibly.
set(compressed_dir ${CMAKE_BINARY_DIR}/compressed)
set(compressed)
foreach(pair "docs/vorlix.1:vorlix.1.gz" "data/changelog:changelog.gz")
  string(REPLACE ":" ";" pair "${pair}")
  list(GET pair 0 source)
  list(GET pair 1 target)
  add_custom_command(OUTPUT ${compressed_dir}/${target}
                     COMMAND ${CMAKE_COMMAND} -E make_directory ${compressed_dir}
                     COMMAND sh -c "gzip -9nc '${PROJECT_SOURCE_DIR}/${source}' > '${compressed_dir}/${target}'"
                     DEPENDS ${PROJECT_SOURCE_DIR}/${source}
                     COMMENT "Compressing ${source}" VERBATIM)
  list(APPEND compressed ${compressed_dir}/${target})
endforeach()
add_custom_target(vorlix_compressed_docs ALL DEPENDS ${compressed})
install(FILES ${compressed_dir}/vorlix.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${compressed_dir}/changelog.gz data/copyright README.md DESTINATION ${VORLIX_INSTALL_DOCDIR})
install(FILES standin/notes/README.md DESTINATION ${VORLIX_INSTALL_DOCDIR} RENAME README.stand-in.md)

# The examples form a ready demo directory once copied somewhere writable: notes.ini names data/ as
# the data directory, which holds the demo databases and ID file.
file(GLOB example_profiles CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/examples/*.xpp
     ${PROJECT_SOURCE_DIR}/examples/*.xpt)
install(FILES ${example_profiles} examples/notes.ini examples/vorlix.ini
        DESTINATION ${VORLIX_INSTALL_DOCDIR}/examples)
file(GLOB example_data CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/examples/demo/*)
install(FILES ${example_data} DESTINATION ${VORLIX_INSTALL_DOCDIR}/examples/data)

# The desktop entry starts the main window, so it ships only with a build that has one.
if(TARGET vorlix_gui)
  install(FILES data/vorlix.desktop DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)
  install(FILES data/vorlix.svg DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/scalable/apps)
endif()

# The Debian package (cpack -G DEB). Its dependencies are computed from the shipped binaries by
# dpkg-shlibdeps, so ICU, pugixml, giflib and Qt appear exactly when something links them.
set(VORLIX_PACKAGE_MAINTAINER "Vorlix developers <vorlix@example.org>"
    CACHE STRING "Maintainer field of the Debian package")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vorlix)
set(CPACK_PACKAGE_VENDOR "Vorlix developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "export Lotus Notes databases to CSV, text and attachment files")
# The long description; CPack puts the summary above it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Vorlix exports the documents of Lotus Notes databases to the file system: a
CSV summary with one row per document, per-document text, HTML and RTF files,
the attachments in a directory layout of the user's choice, copies into
another database and moves into folders. It runs saved export profiles
unattended from the command line.
Without Notes on the machine it uses the bundled stand-in Notes runtime, which
serves databases stored as DXL files; pointed at a Notes installation it
loads the real runtime.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${VORLIX_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The add-in links the Notes runtime, which ships beside it and needs no package dependency.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${VORLIX_PROGRAM_DIR})
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# CPack adds an ldconfig call to postinst and postrm for any library under /usr/lib, the private
# directory included; it is needless there but harmless (lintian: maintscript-calls-ldconfig).
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
