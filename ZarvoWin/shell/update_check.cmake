# The addresses of the update check: the folder that holds the update notice
# ZarvoWin.txt, and the web site offered for downloading a newer version.
# Both default to a domain reserved for examples; a build for users sets them:
#   cmake -DZARVO_UPDATE_ADDRESS=https://.../updates/ -DZARVO_WEBSITE_ADDRESS=https://.../
set(ZARVO_UPDATE_ADDRESS "http://www.example.com/updates/" CACHE STRING
    "Address of the folder holding the update notice ZarvoWin.txt (ends with /updates/)")
set(ZARVO_WEBSITE_ADDRESS "http://www.example.com/" CACHE STRING
    "Web page opened to download a newer version")
set_property(SOURCE ${CMAKE_CURRENT_LIST_DIR}/backup/CAutoUpdater.cpp APPEND PROPERTY COMPILE_DEFINITIONS
  "ZARVO_UPDATE_ADDRESS=\"${ZARVO_UPDATE_ADDRESS}\"" "ZARVO_WEBSITE_ADDRESS=\"${ZARVO_WEBSITE_ADDRESS}\"")
target_link_libraries(shell PUBLIC Qt6::Network)
