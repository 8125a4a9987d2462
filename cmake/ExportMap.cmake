# A shared library exports exactly the functions its public header declares:
# a linker version script made from the header's ZET_EXPORT declarations
# keeps everything else local, including standard-library template code
# that the compiler would otherwise give default visibility.
function(zet_export_map target header)
  file(READ ${header} text)
  # The exported name is the last word before the parenthesis of a
  # ZET_EXPORT declaration (with or without ZET_CALL).
  string(REGEX MATCHALL "ZET_EXPORT[^;(]*[ \t*][A-Za-z_][A-Za-z0-9_]*[ \t]*\\(" declarations "${text}")
  set(names "")
  foreach(declaration IN LISTS declarations)
    string(REGEX REPLACE ".*[ \t*]([A-Za-z_][A-Za-z0-9_]*)[ \t]*\\($" "\\1" name "${declaration}")
    string(APPEND names "    ${name};\n")
  endforeach()
  set(map ${CMAKE_CURRENT_BINARY_DIR}/${target}.map)
  file(CONFIGURE OUTPUT ${map} CONTENT "{\n  global:\n${names}  local: *;\n};\n")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${header})
  target_link_options(${target} PRIVATE -Wl,--version-script=${map})
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${map})
endfunction()
