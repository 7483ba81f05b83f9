# Where the installed files go below a prefix: read when configuring, for the paths the game
# and its texts name, and again when installing, for the prefix really installed to
# (cmake --install --prefix, or make install PREFIX=...), which may differ.

# The program's folder below prefix: chosen, when given; otherwise Debian's games/ below the
# system's own prefixes, on every user's PATH there, and bin/ below any other prefix, a
# user's ~/.local among them, whose bin/ Debian's ~/.profile puts on PATH.
function(tarnhollow_program_dir prefix chosen out)
  if(NOT chosen STREQUAL "")
    set(${out} "${chosen}" PARENT_SCOPE)
    return()
  endif()
  cmake_path(SET prefix NORMALIZE "${prefix}/")
  if(prefix STREQUAL "/usr/" OR prefix STREQUAL "/usr/local/")
    set(${out} games PARENT_SCOPE)
  else()
    set(${out} bin PARENT_SCOPE)
  endif()
endfunction()

# What the link to the system's font holds, for a link in linkDir below prefix: relative
# when the font lies below the same prefix, as Debian wants links within /usr, so that the
# tree still works when moved or staged whole; the font's own path otherwise.
function(tarnhollow_font_link_target prefix linkDir font out)
  cmake_path(SET prefix NORMALIZE "${prefix}/")
  cmake_path(IS_PREFIX prefix "${font}" NORMALIZE fontBelowPrefix)
  if(fontBelowPrefix)
    cmake_path(SET from NORMALIZE "${prefix}/${linkDir}")
    file(RELATIVE_PATH target "${from}" "${font}")
    set(${out} "${target}" PARENT_SCOPE)
  else()
    set(${out} "${font}" PARENT_SCOPE)
  endif()
endfunction()
