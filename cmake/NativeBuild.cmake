# Settings of the Linux build of the portable code.
find_package(Boost 1.74 REQUIRED)
add_library(boost_headers INTERFACE)
target_link_libraries(boost_headers INTERFACE Boost::boost)

find_package(GTest REQUIRED)
include(GoogleTest)
