/* Exports every name of the qpdf function table except the last one,
   qpdf_get_error, and contains no qpdf code: the binding must refuse it
   as an incompatible library. */

void qpdf_init(void) {}
void qpdf_cleanup(void) {}
void qpdf_read(void) {}
void qpdf_has_error(void) {}
void qpdf_silence_errors(void) {}
void qpdf_set_attempt_recovery(void) {}
void qpdf_set_suppress_warnings(void) {}
void qpdf_get_root(void) {}
void qpdf_get_page_n(void) {}
void qpdf_oh_parse(void) {}
void qpdf_get_trailer(void) {}
void qpdf_oh_unparse(void) {}
void qpdf_oh_unparse_resolved(void) {}
void qpdf_oh_get_utf8_value(void) {}
void qpdf_oh_is_string(void) {}
void qpdf_oh_get_object_id(void) {}
void qpdf_oh_get_generation(void) {}
void qpdf_oh_get_array_n_items(void) {}
void qpdf_oh_get_array_item(void) {}
void qpdf_oh_is_stream(void) {}
void qpdf_oh_get_stream_data(void) {}
void qpdf_oh_begin_dict_key_iter(void) {}
void qpdf_oh_dict_more_keys(void) {}
void qpdf_oh_dict_next_key(void) {}
void qpdf_make_indirect_object(void) {}
void qpdf_oh_get_key(void) {}
void qpdf_oh_has_key(void) {}
void qpdf_oh_is_array(void) {}
void qpdf_oh_replace_key(void) {}
void qpdf_oh_append_item(void) {}
void qpdf_oh_is_dictionary(void) {}
void qpdf_oh_new_unicode_string(void) {}
void qpdf_oh_new_stream(void) {}
void qpdf_oh_get_dict(void) {}
void qpdf_oh_replace_stream_data(void) {}
void qpdf_init_write(void) {}
void qpdf_write(void) {}
void qpdf_set_object_stream_mode(void) {}
void qpdf_read_memory(void) {}
void qpdf_init_write_memory(void) {}
void qpdf_get_buffer_length(void) {}
void qpdf_get_buffer(void) {}
