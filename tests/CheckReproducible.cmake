# Builds Vuka6.exe and the release zip again from the same sources in
# another folder, later, and requires both to be byte for byte the ones of
# this build: whoever rebuilds a commit must get the published files.
#   -DSOURCE= -DBUILD= (this build) -DOUT= (the second build's folder)
#   -DTOOLCHAIN= -DBUILD_TYPE= -DGENERATOR= -DPACKAGE= (the zip's file name)
file(REMOVE_RECURSE ${OUT})
execute_process(COMMAND ${CMAKE_COMMAND} -S ${SOURCE} -B ${OUT} -G ${GENERATOR}
                        -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN} -DCMAKE_BUILD_TYPE=${BUILD_TYPE}
                OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${CMAKE_COMMAND} --build ${OUT} --target Vuka6 package_zip OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)

foreach(name Vuka6.exe ${PACKAGE})
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${BUILD}/${name} ${OUT}/${name}
                    RESULT_VARIABLE differ)
    if(differ)
        # Where they part helps to find what leaked in (a time, a path).
        execute_process(COMMAND cmp -l ${BUILD}/${name} ${OUT}/${name} OUTPUT_VARIABLE bytes)
        string(SUBSTRING "${bytes}" 0 600 bytes)
        message(FATAL_ERROR "${name} differs between ${BUILD} and ${OUT}:\n${bytes}")
    endif()
    message(STATUS "${name}: identical")
endforeach()
file(REMOVE_RECURSE ${OUT})
