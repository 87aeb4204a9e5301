# Read by cpack before it makes each package (CPACK_PROJECT_CONFIG_FILE): a
# build configured so that the package would come out wrong stops here, with
# what to do instead.
if(CPACK_GENERATOR STREQUAL "DEB")
    # CPack writes ldconfig calls into postinst and postrm whenever a shared
    # object lies in /usr/lib or a folder right below it (CMake 3.25 has no
    # switch to turn that off). The help module's folder is the program's own,
    # which ldconfig has no business reading: with the prefix /usr it is
    # lib/<multiarch triplet>/tivora, two below, and no call is written.
    if(CPACK_TIVORA_MODULE_DIR MATCHES "^lib(/[^/]+)?$")
        message(FATAL_ERROR "The help module would go to /usr/${CPACK_TIVORA_MODULE_DIR}, for which CPack calls "
                            "ldconfig: package a build configured with -DCMAKE_INSTALL_PREFIX=/usr (tools/package).")
    endif()
    if(NOT CPACK_TIVORA_CHANGELOG_VERSION STREQUAL CPACK_PACKAGE_VERSION)
        message(FATAL_ERROR "packaging/changelog's latest entry is ${CPACK_TIVORA_CHANGELOG_VERSION}, "
                            "the project ${CPACK_PACKAGE_VERSION}: add an entry for this version.")
    endif()
endif()
