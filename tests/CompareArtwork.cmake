# Regenerates the artwork into OUT and compares it byte for byte with the
# committed files in res/.
execute_process(COMMAND ${PYTHON} ${SOURCE}/tools/make_art.py --out ${OUT} COMMAND_ERROR_IS_FATAL ANY)
file(GLOB generated RELATIVE ${OUT} ${OUT}/*)
list(LENGTH generated count)
if(count LESS 10)
    message(FATAL_ERROR "expected 10 pictures, the generator wrote ${count}")
endif()
foreach(name IN LISTS generated)
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUT}/${name} ${SOURCE}/res/${name}
                    RESULT_VARIABLE differs)
    if(NOT differs EQUAL 0)
        message(FATAL_ERROR "res/${name} differs from what tools/make_art.py makes")
    endif()
    message(STATUS "${name}: identical")
endforeach()
