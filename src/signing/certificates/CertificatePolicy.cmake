# Certificate purpose checks and the DER certificate reader. Kept in its own
# file, included by the signing folder, so other certificate code can own
# this folder's CMakeLists.
add_library(velk_certificate_policy STATIC
  "${CMAKE_CURRENT_LIST_DIR}/CertificateDer.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/CertificatePolicy.cpp")
target_include_directories(velk_certificate_policy PUBLIC "${PROJECT_SOURCE_DIR}/src")
target_link_libraries(velk_certificate_policy PUBLIC velk_worker_contract OpenSSL::Crypto)
