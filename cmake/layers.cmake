# The layering rule of the source tree, in one place. cmake/tavecron.cmake
# refuses a library link against it, and cmake/check_layers.cmake, run by
# every build before any library compiles, refuses an include against it.
#
#   layer      its files may include the headers of
#   app        app, schedule, commands, table, base
#   schedule   schedule, commands, table, base
#   commands   commands, table, base
#   table      table, base
#   base       base
#
# The table sits below commands and schedule because at run time it holds the
# rows, and the loader, saver, due pass and commands all read them through
# the table's messages (docs/architecture.md).
#
# The schedule checker is a room of its own inside the schedule layer,
# schedule/check/: it may include the whole schedule layer, and no file of
# the layer outside it includes it, so the scheduler never depends on the
# tool that explains it (the tavecron-check program itself is app/check/).
#
# Within each layer's folder the files outside win32/ subfolders are the
# portable core (built natively, never windows.h): they include no header of
# a win32/ folder, of any layer. The tests of a layer (tests/<layer>/) follow
# that layer's rule and may also include tests/support/ and their own folder's
# files; product files include nothing under tests/. Every include is written
# from the source root ("table/table_model.h"), the one include directory, or
# names a file of the including file's own folder.
#
# The layers, bottom first:
set(TAVECRON_LAYERS base table commands schedule app)
