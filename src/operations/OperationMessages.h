#pragma once

// The sentences the operation clients report; shown unchanged.

#include <QString>

namespace velk::OperationMessages {

// Publication.
inline QString outputNotSaved() { return QStringLiteral("PDF çıktısı kaydedilemedi."); }
inline QString outputIncomplete() { return QStringLiteral("PDF kaydı tamamlanamadı."); }
inline QString outputNotCommitted() { return QStringLiteral("PDF çıktısı atomik kaydedilemedi."); }
inline QString cancelled() { return QStringLiteral("İşlem iptal edildi."); }

// Adding text or a note.
inline QString addKeepsSource() { return QStringLiteral("Kaynak belge korunur. Yeni bir çıktı adı seçin."); }
inline QString addWorkspaceFailed() { return QStringLiteral("Geçici çıktı alanı oluşturulamadı."); }
inline QString addNotVerified() { return QStringLiteral("Düzenlenen PDF doğrulanamadı."); }

// Replacing or deleting text, shapes, form filling.
inline QString editInvalid()
{
    return QStringLiteral("Belge veya düzenleme isteği geçersiz. İmzalı/şifreli belge korunur.");
}
inline QString editKeepsSource() { return QStringLiteral("Kaynak korunur. Farklı bir çıktı adı seçin."); }
inline QString editWorkspaceFailed() { return QStringLiteral("Düzenleme çalışma alanı oluşturulamadı."); }
inline QString editNotVerified() { return QStringLiteral("Düzenlenen PDF yeniden doğrulanamadı."); }

// Document queries.
inline QString queryInvalid() { return QStringLiteral("Belge sorgusu geçersiz."); }

} // namespace velk::OperationMessages
