# The weather stand-in: METAR and FD pages served from a data folder (included from
# standins/CMakeLists.txt).
add_library(stratocue_standin_wx
  ${CMAKE_CURRENT_LIST_DIR}/wx_fd_regions.cpp
  ${CMAKE_CURRENT_LIST_DIR}/wx_fd_split.cpp
  ${CMAKE_CURRENT_LIST_DIR}/wx_files.cpp
  ${CMAKE_CURRENT_LIST_DIR}/wx_metar_table.cpp
  ${CMAKE_CURRENT_LIST_DIR}/wx_options.cpp
  ${CMAKE_CURRENT_LIST_DIR}/wx_pages.cpp
  ${CMAKE_CURRENT_LIST_DIR}/wx_routes.cpp
  ${CMAKE_CURRENT_LIST_DIR}/wx_server.cpp
  ${CMAKE_CURRENT_LIST_DIR}/wx_split_job.cpp
  ${CMAKE_CURRENT_LIST_DIR}/wx_stop_signal.cpp
  ${CMAKE_CURRENT_LIST_DIR}/wx_text_lines.cpp
  ${CMAKE_CURRENT_LIST_DIR}/wx_weather_data.cpp)
target_include_directories(stratocue_standin_wx PUBLIC ${CMAKE_CURRENT_LIST_DIR}/..)
target_link_libraries(stratocue_standin_wx
  PUBLIC stratocue_common Threads::Threads
  PRIVATE httplib::httplib stratocue_warnings)

add_executable(standin-wx ${CMAKE_CURRENT_LIST_DIR}/wx_main.cpp)
target_link_libraries(standin-wx PRIVATE stratocue_standin_wx stratocue_warnings)

# Rebuilds the demo's regional FD bulletins from the national and Alaska samples kept in
# data/demo/weather/source; run by hand after changing those samples.
set(STRATOCUE_DEMO_WEATHER_DIR ${CMAKE_CURRENT_LIST_DIR}/../data/demo/weather)
add_custom_target(demo-weather-fd
  COMMAND standin-wx
    --split-fd ${STRATOCUE_DEMO_WEATHER_DIR}/source/FD1US1-080201.txt
    --stations ${CMAKE_CURRENT_LIST_DIR}/../data/fdwinds.txt
    --alaska ${STRATOCUE_DEMO_WEATHER_DIR}/source/FD1AK1-031352.txt
    --out ${STRATOCUE_DEMO_WEATHER_DIR}/fd
  COMMENT "Splitting the demo's national FD bulletin into regional pages"
  VERBATIM)
