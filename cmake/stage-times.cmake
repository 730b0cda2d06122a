# CPack runs this after installing into its staging folder and before packing
# it: every file there gets the time SOURCE_DATE_EPOCH names (the commit's),
# so that the package does not keep the time it was built at.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
    execute_process(
        COMMAND find "${CPACK_TEMPORARY_DIRECTORY}" -exec touch -h -d "@$ENV{SOURCE_DATE_EPOCH}" {} +
        COMMAND_ERROR_IS_FATAL ANY)
endif()
