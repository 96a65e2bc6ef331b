# The wizards' tests use the sample data the build makes beside the programs,
# and small language databases of their own.
foreach(t shell_FirstRunWizardTest shell_NewUserWizardTest shell_FrameEscapeTest shell_WindowsFitScreenTest shell_PagesOnScreensTest)
  if(TARGET ${t})
    target_compile_definitions(${t} PRIVATE ZARVO_PROGRAM_FOLDER="${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/")
    add_dependencies(${t} sample_data)
    target_sources(${t} PRIVATE ${CMAKE_SOURCE_DIR}/tests/localisation/LanguageFixture.cpp)
    target_include_directories(${t} PRIVATE ${CMAKE_SOURCE_DIR}/tests/localisation)
  endif()
endforeach()
