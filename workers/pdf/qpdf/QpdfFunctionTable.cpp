#include "qpdf/QpdfFunctionTable.h"

#include <iterator>

namespace velk {

namespace {

#define VELK_QPDF_ENTRY(function) VELK_ENGINE_FUNCTION(QpdfFunctions, function)

// The object layer's functions first, then those that read from and write
// to memory, then the typed reads, then the one that takes an error, then
// the reads the signature work added and handle release.
constexpr QpdfFunctionEntry kTable[] = {
    VELK_QPDF_ENTRY(qpdf_init),
    VELK_QPDF_ENTRY(qpdf_cleanup),
    VELK_QPDF_ENTRY(qpdf_read),
    VELK_QPDF_ENTRY(qpdf_has_error),
    VELK_QPDF_ENTRY(qpdf_silence_errors),
    VELK_QPDF_ENTRY(qpdf_set_attempt_recovery),
    VELK_QPDF_ENTRY(qpdf_set_suppress_warnings),
    VELK_QPDF_ENTRY(qpdf_get_root),
    VELK_QPDF_ENTRY(qpdf_get_page_n),
    VELK_QPDF_ENTRY(qpdf_oh_parse),
    VELK_QPDF_ENTRY(qpdf_get_trailer),
    VELK_QPDF_ENTRY(qpdf_oh_unparse),
    VELK_QPDF_ENTRY(qpdf_oh_unparse_resolved),
    VELK_QPDF_ENTRY(qpdf_oh_get_utf8_value),
    VELK_QPDF_ENTRY(qpdf_oh_is_string),
    VELK_QPDF_ENTRY(qpdf_oh_get_object_id),
    VELK_QPDF_ENTRY(qpdf_oh_get_generation),
    VELK_QPDF_ENTRY(qpdf_oh_get_array_n_items),
    VELK_QPDF_ENTRY(qpdf_oh_get_array_item),
    VELK_QPDF_ENTRY(qpdf_oh_is_stream),
    VELK_QPDF_ENTRY(qpdf_oh_get_stream_data),
    VELK_QPDF_ENTRY(qpdf_oh_begin_dict_key_iter),
    VELK_QPDF_ENTRY(qpdf_oh_dict_more_keys),
    VELK_QPDF_ENTRY(qpdf_oh_dict_next_key),
    VELK_QPDF_ENTRY(qpdf_make_indirect_object),
    VELK_QPDF_ENTRY(qpdf_oh_get_key),
    VELK_QPDF_ENTRY(qpdf_oh_has_key),
    VELK_QPDF_ENTRY(qpdf_oh_is_array),
    VELK_QPDF_ENTRY(qpdf_oh_replace_key),
    VELK_QPDF_ENTRY(qpdf_oh_append_item),
    VELK_QPDF_ENTRY(qpdf_oh_is_dictionary),
    VELK_QPDF_ENTRY(qpdf_oh_new_unicode_string),
    VELK_QPDF_ENTRY(qpdf_oh_new_stream),
    VELK_QPDF_ENTRY(qpdf_oh_get_dict),
    VELK_QPDF_ENTRY(qpdf_oh_replace_stream_data),
    VELK_QPDF_ENTRY(qpdf_init_write),
    VELK_QPDF_ENTRY(qpdf_write),
    VELK_QPDF_ENTRY(qpdf_set_object_stream_mode),
    VELK_QPDF_ENTRY(qpdf_read_memory),
    VELK_QPDF_ENTRY(qpdf_init_write_memory),
    VELK_QPDF_ENTRY(qpdf_get_buffer_length),
    VELK_QPDF_ENTRY(qpdf_get_buffer),
    VELK_QPDF_ENTRY(qpdf_oh_is_number),
    VELK_QPDF_ENTRY(qpdf_oh_get_numeric_value),
    VELK_QPDF_ENTRY(qpdf_oh_is_name),
    VELK_QPDF_ENTRY(qpdf_oh_get_name),
    VELK_QPDF_ENTRY(qpdf_oh_is_bool),
    VELK_QPDF_ENTRY(qpdf_oh_get_bool_value),
    VELK_QPDF_ENTRY(qpdf_get_error),
    VELK_QPDF_ENTRY(qpdf_oh_is_integer),
    VELK_QPDF_ENTRY(qpdf_oh_get_int_value),
    VELK_QPDF_ENTRY(qpdf_oh_get_binary_string_value),
    VELK_QPDF_ENTRY(qpdf_oh_release),
};

#undef VELK_QPDF_ENTRY

static_assert(std::size(kTable) == kQpdfFunctionCount);
static_assert(sizeof(QpdfFunctions) == kQpdfFunctionCount * sizeof(void (*)()));

} // namespace

std::span<const QpdfFunctionEntry> qpdfFunctionTable()
{
    return kTable;
}

} // namespace velk
