# Runs the packer on a main program one byte over its ROM; the test checks the message.
set(packer ${CMAKE_ARGV3})
set(dir ${CMAKE_ARGV4})
string(REPEAT "A" 16385 main_bytes)
string(REPEAT "B" 4096 graphics_bytes)
string(REPEAT "C" 32 prom_bytes)
file(WRITE ${dir}/oversized_main.bin "${main_bytes}")
file(WRITE ${dir}/empty_sound.bin "")
file(WRITE ${dir}/graphics.bin "${graphics_bytes}")
file(WRITE ${dir}/prom.bin "${prom_bytes}")
execute_process(COMMAND ${packer} ${dir}/oversized.res ${dir}/oversized_main.bin
                        ${dir}/empty_sound.bin ${dir}/graphics.bin ${dir}/prom.bin
                RESULT_VARIABLE result ERROR_VARIABLE message)
message("${message}")
if(result EQUAL 0)
  message(FATAL_ERROR "the packer accepted an oversized main program")
endif()
