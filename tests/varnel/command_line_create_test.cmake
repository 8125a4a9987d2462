# Runs the built varnel on a sprite set made by the set maker, with its
# application folder moved by VARNEL_HOME.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})

function(run_varnel expected_code)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env VARNEL_HOME=${WORK}/home ${VARNEL} ${ARGN}
                  RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT code EQUAL expected_code)
    message(FATAL_ERROR "varnel ${ARGN} exited with ${code}, not ${expected_code}:\n${out}\n${err}")
  endif()
  set(out "${out}" PARENT_SCOPE)
  set(err "${err}" PARENT_SCOPE)
endfunction()

function(expect_text text pattern)
  string(FIND "${text}" "${pattern}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "expected \"${pattern}\" in:\n${text}")
  endif()
endfunction()

execute_process(COMMAND ${MAKER} ${WORK} RESULT_VARIABLE code)
if(NOT code EQUAL 0)
  message(FATAL_ERROR "the sprite set could not be made")
endif()

run_varnel(0 --list)
if(NOT out STREQUAL "Muton\nZombie\n")
  message(FATAL_ERROR "unexpected profile list:\n${out}")
endif()

run_varnel(0 --create Muton --crouch --flying)
expect_text("${out}" "Crouch fire: 48 frames")
expect_text("${out}" "Hover: 48 frames")
# Frame 128 is written twice: the last death step, then the first crouch frame.
expect_text("${out}" "Wrote 282 frames of \"Muton\"")
foreach(frame mut0000 mut0128 mut0279 mut-0999)
  if(NOT EXISTS ${WORK}/out/${frame}.bmp)
    message(FATAL_ERROR "${frame}.bmp was not written")
  endif()
endforeach()
# 94 x 106 pixels of 8 bits: 1078 bytes of headers and palette, rows of 96 bytes.
file(SIZE ${WORK}/out/mut0000.bmp size)
if(NOT size EQUAL 11254)
  message(FATAL_ERROR "mut0000.bmp has ${size} bytes")
endif()
if(NOT EXISTS ${WORK}/home/vga_qorm.pal)
  message(FATAL_ERROR "vga_qorm.pal was not written to the application folder")
endif()

run_varnel(0 --create Zombie --palette none --no-bg)
expect_text("${out}" "Die: 17 frames")

run_varnel(1 --create Nobody)
expect_text("${err}" "no profile named \"Nobody\"")
run_varnel(1 --create Muton --palette ra2)
expect_text("${err}" "\"ra2.pal\" was not found in the folder")
run_varnel(2 --create Muton --sideways)
expect_text("${err}" "unknown option")
