#pragma once

// The qpdf C functions the worker calls, one typed pointer per function,
// all null until a binding resolved them. Our own declarations of qpdf's
// public C interface: a document is an opaque pointer, an object an
// unsigned handle that qpdf never hands out as 0. The members follow the
// resolution order of the binding's table (QpdfFunctionTable.cpp).

#include <cstddef>

namespace velk {

struct QpdfDocumentData;
using qpdf_data = QpdfDocumentData*;
using qpdf_oh = unsigned int;
struct QpdfErrorData;
using qpdf_error = QpdfErrorData*;

// Bits of the status some qpdf calls answer.
inline constexpr int kQpdfWarnings = 1;
inline constexpr int kQpdfErrors = 2;
// Object stream modes of the writer.
inline constexpr int kQpdfObjectStreamsPreserved = 1;
// Stream data exactly as stored, no filter decoded.
inline constexpr int kQpdfDecodeNone = 0;
// Stream data with the general-purpose filters (Flate, LZW, ASCII) decoded.
inline constexpr int kQpdfDecodeGeneralized = 1;

struct QpdfFunctions {
    // Library, reading and the document's roots.
    qpdf_data (*qpdf_init)() = nullptr;
    void (*qpdf_cleanup)(qpdf_data* data) = nullptr;
    int (*qpdf_read)(qpdf_data, const char* fileName, const char* password) = nullptr;
    int (*qpdf_has_error)(qpdf_data) = nullptr;
    void (*qpdf_silence_errors)(qpdf_data) = nullptr;
    void (*qpdf_set_attempt_recovery)(qpdf_data, int value) = nullptr;
    void (*qpdf_set_suppress_warnings)(qpdf_data, int value) = nullptr;
    qpdf_oh (*qpdf_get_root)(qpdf_data) = nullptr;
    qpdf_oh (*qpdf_get_page_n)(qpdf_data, std::size_t zeroBasedIndex) = nullptr;
    qpdf_oh (*qpdf_oh_parse)(qpdf_data, const char* text) = nullptr;
    qpdf_oh (*qpdf_get_trailer)(qpdf_data) = nullptr;

    // Reading objects.
    const char* (*qpdf_oh_unparse)(qpdf_data, qpdf_oh) = nullptr;
    const char* (*qpdf_oh_unparse_resolved)(qpdf_data, qpdf_oh) = nullptr;
    const char* (*qpdf_oh_get_utf8_value)(qpdf_data, qpdf_oh) = nullptr;
    int (*qpdf_oh_is_string)(qpdf_data, qpdf_oh) = nullptr;
    int (*qpdf_oh_get_object_id)(qpdf_data, qpdf_oh) = nullptr;
    int (*qpdf_oh_get_generation)(qpdf_data, qpdf_oh) = nullptr;
    int (*qpdf_oh_get_array_n_items)(qpdf_data, qpdf_oh) = nullptr;
    qpdf_oh (*qpdf_oh_get_array_item)(qpdf_data, qpdf_oh, int index) = nullptr;
    int (*qpdf_oh_is_stream)(qpdf_data, qpdf_oh) = nullptr;
    // The buffer comes from malloc; the caller frees it.
    int (*qpdf_oh_get_stream_data)(qpdf_data, qpdf_oh, int decodeLevel, int* filtered, unsigned char** buffer,
                                   std::size_t* length) = nullptr;
    // One key iteration at a time per document.
    void (*qpdf_oh_begin_dict_key_iter)(qpdf_data, qpdf_oh) = nullptr;
    int (*qpdf_oh_dict_more_keys)(qpdf_data) = nullptr;
    const char* (*qpdf_oh_dict_next_key)(qpdf_data) = nullptr;

    // Changing and creating objects.
    qpdf_oh (*qpdf_make_indirect_object)(qpdf_data, qpdf_oh) = nullptr;
    qpdf_oh (*qpdf_oh_get_key)(qpdf_data, qpdf_oh, const char* key) = nullptr;
    int (*qpdf_oh_has_key)(qpdf_data, qpdf_oh, const char* key) = nullptr;
    int (*qpdf_oh_is_array)(qpdf_data, qpdf_oh) = nullptr;
    void (*qpdf_oh_replace_key)(qpdf_data, qpdf_oh, const char* key, qpdf_oh item) = nullptr;
    void (*qpdf_oh_append_item)(qpdf_data, qpdf_oh, qpdf_oh item) = nullptr;
    int (*qpdf_oh_is_dictionary)(qpdf_data, qpdf_oh) = nullptr;
    qpdf_oh (*qpdf_oh_new_unicode_string)(qpdf_data, const char* utf8) = nullptr;
    qpdf_oh (*qpdf_oh_new_stream)(qpdf_data) = nullptr;
    qpdf_oh (*qpdf_oh_get_dict)(qpdf_data, qpdf_oh) = nullptr;
    // qpdf copies the bytes before returning.
    void (*qpdf_oh_replace_stream_data)(qpdf_data, qpdf_oh, const unsigned char* buffer, std::size_t length,
                                        qpdf_oh filter, qpdf_oh decodeParameters) = nullptr;

    // Writing.
    int (*qpdf_init_write)(qpdf_data, const char* fileName) = nullptr;
    int (*qpdf_write)(qpdf_data) = nullptr;
    void (*qpdf_set_object_stream_mode)(qpdf_data, int mode) = nullptr;

    // Reading from and writing to memory. qpdf reads the caller's buffer
    // for as long as the document lives; the written buffer belongs to
    // qpdf until cleanup.
    int (*qpdf_read_memory)(qpdf_data, const char* description, const char* buffer, unsigned long long size,
                            const char* password) = nullptr;
    int (*qpdf_init_write_memory)(qpdf_data) = nullptr;
    std::size_t (*qpdf_get_buffer_length)(qpdf_data) = nullptr;
    const unsigned char* (*qpdf_get_buffer)(qpdf_data) = nullptr;

    // Typed reads of numbers, names and booleans; each is asked only after
    // its type check, as qpdf answers another type with a warning.
    int (*qpdf_oh_is_number)(qpdf_data, qpdf_oh) = nullptr;
    double (*qpdf_oh_get_numeric_value)(qpdf_data, qpdf_oh) = nullptr;
    int (*qpdf_oh_is_name)(qpdf_data, qpdf_oh) = nullptr;
    const char* (*qpdf_oh_get_name)(qpdf_data, qpdf_oh) = nullptr;
    int (*qpdf_oh_is_bool)(qpdf_data, qpdf_oh) = nullptr;
    int (*qpdf_oh_get_bool_value)(qpdf_data, qpdf_oh) = nullptr;

    // Takes the pending error, so that qpdf does not report it as unhandled
    // when the document is cleaned up.
    qpdf_error (*qpdf_get_error)(qpdf_data) = nullptr;

    // Signature values and snapshots: exact integers, the bytes of a
    // string, and handles given back once read, so that a walk over a
    // large document does not keep one handle per object visited.
    int (*qpdf_oh_is_integer)(qpdf_data, qpdf_oh) = nullptr;
    long long (*qpdf_oh_get_int_value)(qpdf_data, qpdf_oh) = nullptr;
    const char* (*qpdf_oh_get_binary_string_value)(qpdf_data, qpdf_oh, std::size_t* length) = nullptr;
    void (*qpdf_oh_release)(qpdf_data, qpdf_oh) = nullptr;
};

} // namespace velk
