# Stages the portable program folder NAME/ from the build's bin folder, strips it, and zips it into
# OUTPUT_DIR/NAME.zip. Run by the package_zip target with cmake -P.
set(stage ${OUTPUT_DIR}/zip-stage/${NAME})
file(REMOVE_RECURSE ${OUTPUT_DIR}/zip-stage ${OUTPUT_DIR}/${NAME}.zip)
file(MAKE_DIRECTORY ${stage})

file(COPY ${BIN_DIR}/quorvel.exe DESTINATION ${stage})
foreach(dll IN LISTS DLLS)
    get_filename_component(name ${dll} NAME)
    file(COPY ${BIN_DIR}/${name} DESTINATION ${stage})
endforeach()
foreach(plugin IN LISTS PLUGINS)
    get_filename_component(folder ${plugin} DIRECTORY)
    file(COPY ${BIN_DIR}/${plugin}.dll DESTINATION ${stage}/${folder})
endforeach()
file(COPY ${BIN_DIR}/defaults/Batch_Cad.dat DESTINATION ${stage}/defaults)
file(COPY ${SOURCE_DIR}/data/help/Quorvel.html DESTINATION ${stage}/help)
file(COPY ${SOURCE_DIR}/data/samples/ DESTINATION ${stage}/samples)
file(COPY_FILE ${SOURCE_DIR}/LICENSE ${stage}/LICENSE.txt)

file(GLOB_RECURSE binaries ${stage}/*.exe ${stage}/*.dll)
foreach(binary IN LISTS binaries)
    execute_process(COMMAND ${STRIP} --strip-unneeded ${binary} RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "Cannot strip ${binary}")
    endif()
endforeach()

execute_process(COMMAND zip -q -r -9 ${OUTPUT_DIR}/${NAME}.zip ${NAME} WORKING_DIRECTORY ${OUTPUT_DIR}/zip-stage
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "Cannot make ${OUTPUT_DIR}/${NAME}.zip")
endif()
file(REMOVE_RECURSE ${OUTPUT_DIR}/zip-stage)
