# The help window shows the README's "Using Veldra": the README is built into the program, so
# the help a user reads is the one that came with the version they run.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/README.md)
file(READ ${PROJECT_SOURCE_DIR}/README.md VELDRA_README)
set(VELDRA_README_SOURCE ${CMAKE_CURRENT_BINARY_DIR}/readme_text.cpp)
file(WRITE ${VELDRA_README_SOURCE}.new
     "#include \"app/readme_text.h\"\n\nconst char* ReadmeText() {\n"
     "    return R\"veldra_readme(${VELDRA_README})veldra_readme\";\n}\n")
file(COPY_FILE ${VELDRA_README_SOURCE}.new ${VELDRA_README_SOURCE} ONLY_IF_DIFFERENT)
target_sources(veldra_app PRIVATE ${VELDRA_README_SOURCE})
# The About box names the version the command line reports.
target_compile_definitions(veldra_app PUBLIC VELDRA_VERSION="${PROJECT_VERSION}")
