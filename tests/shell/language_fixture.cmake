# The frame's language test writes small language databases as the
# localisation tests do.
target_sources(shell_MainFrameTest PRIVATE ${CMAKE_CURRENT_LIST_DIR}/../localisation/LanguageFixture.cpp)
target_include_directories(shell_MainFrameTest PRIVATE ${CMAKE_CURRENT_LIST_DIR}/../localisation)
target_link_libraries(shell_MainFrameTest PRIVATE localisation)
