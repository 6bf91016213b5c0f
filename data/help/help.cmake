# The screenshots of the help page, built into the program under qrc:/help/hilfe/.
# The page names them by these addresses, so it shows them wherever the page
# itself was loaded from: beside the program, from a copy in the data folder or
# from the copy built into the program.
#
# The compiled resource is an object library whose object file goes onto the
# link line of every program that links the windows (the planner and the
# tests): an object file taken from a static library would be dropped, since
# nothing calls into it, and the pictures would never be registered.
add_library(kalmora_help OBJECT ${CMAKE_CURRENT_LIST_DIR}/kalmora_help.qrc)
set_target_properties(kalmora_help PROPERTIES AUTOMOC OFF AUTOUIC OFF AUTORCC ON)
target_link_libraries(kalmora_help PRIVATE Qt6::Core)
target_link_libraries(kalmora_start_ui INTERFACE $<TARGET_OBJECTS:kalmora_help>)
add_dependencies(kalmora_start_ui kalmora_help)
