# quadsum-cli as a Debian package (cpack -G DEB in the release tree): the
# program, a man page made from its --help, its bash completion, and the
# documents Debian asks for. scripts/release builds it with SOURCE_DATE_EPOCH
# set to the commit's time, which string(TIMESTAMP), help2man and CPack all
# take instead of the clock, so two builds of one commit give the same bytes.
include(GNUInstallDirs)
set(QUADSUM_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/quadsum-cli)
set(doc_out ${PROJECT_BINARY_DIR}/package)

string(TIMESTAMP QUADSUM_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
configure_file(${PROJECT_SOURCE_DIR}/resources/debian/changelog.in ${doc_out}/changelog @ONLY)
# gzip -n: no name or time in the header.
add_custom_command(OUTPUT ${doc_out}/changelog.gz
                   COMMAND gzip -n -9 -f -k ${doc_out}/changelog
                   DEPENDS ${doc_out}/changelog VERBATIM)

find_program(HELP2MAN help2man)
if(HELP2MAN)
  add_custom_command(OUTPUT ${doc_out}/quadsum-cli.1.gz
                     COMMAND ${HELP2MAN} --no-info --no-discard-stderr
                             "--name=convert IP addresses, networks and ranges to integers and back"
                             --output=${doc_out}/quadsum-cli.1 $<TARGET_FILE:quadsum-cli>
                     COMMAND gzip -n -9 -f ${doc_out}/quadsum-cli.1
                     DEPENDS quadsum-cli VERBATIM)
  install(FILES ${doc_out}/quadsum-cli.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  set(man_page ${doc_out}/quadsum-cli.1.gz)
else()
  message(STATUS "help2man not found: no man page for quadsum-cli")
endif()
add_custom_target(quadsum_docs ALL DEPENDS ${doc_out}/changelog.gz ${man_page})

# Where bash-completion loads it on demand, by the command's name.
install(FILES ${PROJECT_SOURCE_DIR}/packaging/bash-completion/quadsum-cli
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)

install(FILES README.md ${PROJECT_SOURCE_DIR}/resources/debian/copyright ${doc_out}/changelog.gz
        DESTINATION ${QUADSUM_DOC_DIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quadsum-cli)
set(CPACK_PACKAGE_VERSION ${QUADSUM_VERSION_TEXT})
set(CPACK_PACKAGE_CONTACT "Quadsum developers <quadsum@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "convert IP addresses, networks and ranges to integers and back")
# CPack writes the summary as the synopsis and this as the text below it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "quadsum-cli turns dotted IPv4 and IPv6 addresses into the integers they
stand for and back, and networks and ranges into their first and last
numbers or the fewest networks that cover them: one value per line, or one
field of a delimited file.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Depends from the libraries the program really links (dpkg-shlibdeps).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
