velk_add_qtest(CertificatePolicyTest SOURCES "${CMAKE_CURRENT_LIST_DIR}/CertificatePolicyTest.cpp"
  LIBS velk_certificate_policy velk_worker_contract)
