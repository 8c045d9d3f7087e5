# The link feature VESKAR_KEEP: a library linked with
# $<LINK_LIBRARY:VESKAR_KEEP,lib> stays a dependency of the program even when
# the program names none of its symbols (its start-up sets hooks that lower
# layers call).
set(CMAKE_LINK_LIBRARY_USING_VESKAR_KEEP "LINKER:--push-state,--no-as-needed" "<LINK_ITEM>" "LINKER:--pop-state")
set(CMAKE_LINK_LIBRARY_USING_VESKAR_KEEP_SUPPORTED TRUE)
