# Run by cpack on the staged files before it packs them, never by
# `cmake --install`: lintian's overrides belong to the Debian package only.
set(folder "${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}/share/lintian/overrides")
file(MAKE_DIRECTORY "${folder}")
file(COPY_FILE "${CMAKE_CURRENT_LIST_DIR}/lintian-overrides" "${folder}/ombrel")
