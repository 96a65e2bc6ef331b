# The first run starts the real tray program, which is built beside the
# programs.
target_compile_definitions(shell_TrayLaunchTest PRIVATE PROGRAM_FOLDER="$<TARGET_FILE_DIR:ZarvoTray>")
add_dependencies(shell_TrayLaunchTest ZarvoTray)
