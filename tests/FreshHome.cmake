# Empties a test program's home and makes its XDG folders: cmake -DHOME=<folder> -P FreshHome.cmake
file(REMOVE_RECURSE ${HOME})
file(MAKE_DIRECTORY ${HOME}/config ${HOME}/cache ${HOME}/data ${HOME}/state ${HOME}/runtime)
# The runtime folder must be the user's alone, or Qt refuses it and falls back to one in /tmp.
file(CHMOD ${HOME}/runtime DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
