# The option pages' tests write small language databases.
foreach(t shell_OptionPagesTest)
  if(TARGET ${t})
    target_sources(${t} PRIVATE ${CMAKE_SOURCE_DIR}/tests/localisation/LanguageFixture.cpp)
    target_include_directories(${t} PRIVATE ${CMAKE_SOURCE_DIR}/tests/localisation)
  endif()
endforeach()
