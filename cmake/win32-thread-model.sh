#!/bin/sh
# Compiler launcher: runs a compile or link meant for the posix-thread-model
# MinGW compiler with its win32-thread-model twin (same version, same flags).
# Its C++ runtime calls the system directly rather than through the POSIX
# threading library, whose imports the 95/98 family lacks.
cc=$1
shift
case "$cc" in
    *-posix) exec "${cc%-posix}-win32" "$@" ;;
esac
exec "$cc" "$@"
