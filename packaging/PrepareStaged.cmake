# CPack runs this on the staged files before it builds the package.

# Every man page and the changelog compressed with `gzip -9n`, as Debian's packaging tools do, whichever
# folder installed them: the pages in a language's folder (man/pl/man1) as well as man/man1.
file(GLOB_RECURSE staged_docs
     "${CPACK_TEMPORARY_DIRECTORY}/*/share/man/*"
     "${CPACK_TEMPORARY_DIRECTORY}/*/share/doc/*/changelog")
foreach(doc IN LISTS staged_docs)
  if(NOT doc MATCHES "\\.gz$")
    execute_process(COMMAND gzip -9nf "${doc}" COMMAND_ERROR_IS_FATAL ANY)
  endif()
endforeach()

# The package is a game, so its player lies in /usr/games; a command-line tool for scenario authors that
# comes with it is no game and lies in /usr/bin, as the file-system hierarchy wants. Lintian's rule that a
# games package has nothing in /usr/bin does not fit that tool: overridden, and only when such a tool is
# there, so that the override never outlives its reason.
file(GLOB user_programs "${CPACK_TEMPORARY_DIRECTORY}/usr/bin/*")
if(user_programs)
  set(overrides "${CPACK_TEMPORARY_DIRECTORY}/usr/share/lintian/overrides")
  file(MAKE_DIRECTORY "${overrides}")
  file(WRITE "${overrides}/${CPACK_PACKAGE_NAME}"
       "# The tools in /usr/bin are for scenario authors, not games; the player is in /usr/games.\n"
       "${CPACK_PACKAGE_NAME}: package-section-games-but-has-usr-bin\n")
endif()
