# The radio's side of the dialogue as a library on the model alone (Qt Core),
# shared by the simulator, the link tests and the fuzz targets.
add_library(quillon_radio STATIC
    ${CMAKE_CURRENT_LIST_DIR}/simulated_radio.h ${CMAKE_CURRENT_LIST_DIR}/simulated_radio.cpp
)
target_include_directories(quillon_radio PUBLIC ${CMAKE_CURRENT_LIST_DIR}/..)
target_link_libraries(quillon_radio PUBLIC quillon_model)
quillon_warnings(quillon_radio)
