# CPack runs this on the packages it built. Its debug-symbols package lists the staging folder's absolute
# paths in md5sums and has no documentation folder; rebuilt here as Debian's own tools lay one out: paths
# relative to the root, debug files not executable, and the documentation folder a link to the main
# package's, which it depends on in the exact version.
foreach(package IN LISTS CPACK_PACKAGE_FILES)
  if(NOT package MATCHES "-dbgsym_[^/]*\\.ddeb$")
    continue()
  endif()
  get_filename_component(work "${package}" DIRECTORY)
  set(work "${work}/_dbgsym_rebuild")
  file(REMOVE_RECURSE "${work}")
  execute_process(COMMAND dpkg-deb -R "${package}" "${work}" COMMAND_ERROR_IS_FATAL ANY)

  file(GLOB_RECURSE debug_files RELATIVE "${work}" "${work}/usr/*")
  set(md5sums "")
  foreach(file IN LISTS debug_files)
    file(CHMOD "${work}/${file}" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
    file(MD5 "${work}/${file}" sum)
    string(APPEND md5sums "${sum}  ${file}\n")
  endforeach()
  file(WRITE "${work}/DEBIAN/md5sums" "${md5sums}")

  file(MAKE_DIRECTORY "${work}/usr/share/doc")
  file(CREATE_LINK "${CPACK_PACKAGE_NAME}" "${work}/usr/share/doc/${CPACK_PACKAGE_NAME}-dbgsym" SYMBOLIC)

  execute_process(COMMAND dpkg-deb --root-owner-group -Zxz -b "${work}" "${package}"
                  OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE_RECURSE "${work}")
endforeach()
