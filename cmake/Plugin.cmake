# brisora_plugin(<name> <project unit> <libraries...>): one VST 2 shared library
# that exports exactly the symbol main and needs no runtime library beside the
# system's own.
function(brisora_plugin name unit)
  add_library(${name} SHARED ${unit})
  target_link_libraries(${name} PRIVATE ${ARGN})
  set_target_properties(${name} PROPERTIES PREFIX "" OUTPUT_NAME ${name})
  if(WIN32)
    target_sources(${name} PRIVATE ${CMAKE_SOURCE_DIR}/framework/main.def)
    target_link_options(${name} PRIVATE -static -static-libgcc -static-libstdc++ -Wl,--enable-stdcall-fixup)
  else()
    target_link_options(${name} PRIVATE -static-libgcc -static-libstdc++ -Wl,--no-undefined
                        -Wl,--version-script=${CMAKE_SOURCE_DIR}/framework/exports.map)
    set_target_properties(${name} PROPERTIES LINK_DEPENDS ${CMAKE_SOURCE_DIR}/framework/exports.map)
  endif()
endfunction()
