# The support e-mail: the message builder and the mail system seam.
target_sources(vellumin_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/SLMapi.h
  ${CMAKE_CURRENT_LIST_DIR}/SLMapi.cpp)
