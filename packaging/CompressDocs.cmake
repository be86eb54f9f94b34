# CPack runs this on the staged files before building the package: every man page and the changelog
# compressed with `gzip -9n`, as Debian's packaging tools do.
file(GLOB_RECURSE staged_docs
     "${CPACK_TEMPORARY_DIRECTORY}/*/share/man/man*/*"
     "${CPACK_TEMPORARY_DIRECTORY}/*/share/doc/*/changelog")
foreach(doc IN LISTS staged_docs)
  if(doc MATCHES "\\.gz$")
    continue()
  endif()
  execute_process(COMMAND gzip -9nf "${doc}" COMMAND_ERROR_IS_FATAL ANY)
endforeach()
