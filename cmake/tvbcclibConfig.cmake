# find_package(tvbcclib): the imported targets tvbcclib::tvbcclib (tvbcclib.h, libtvbcclib.so) and
# tvbcclib::runddclib ("rundd.h", librunddclib.so). The TVF library and the solver configuration lie beside
# the libraries, where they are loaded from at run time.
include(${CMAKE_CURRENT_LIST_DIR}/tvbcclibTargets.cmake)
