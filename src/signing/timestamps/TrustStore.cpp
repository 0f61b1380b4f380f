#include "signing/timestamps/TrustStore.h"

#include <QFile>

namespace velk {

namespace {

// Chains and signatures below 112-bit security are refused.
constexpr int kAuthenticationLevel = 2;

} // namespace

X509StorePtr TrustStore::loadTrustStore(const QString& path)
{
    X509StorePtr store(X509_STORE_new());
    if (!store)
        return {};
    if (path.isEmpty()) {
        // set_default_paths succeeds even when nothing loads: count what did.
        if (X509_STORE_set_default_paths(store.get()) != 1)
            return {};
        if (sk_X509_OBJECT_num(X509_STORE_get0_objects(store.get())) <= 0)
            return {};
    } else {
        const QByteArray file = QFile::encodeName(path);
        if (X509_STORE_load_locations(store.get(), file.constData(), nullptr) != 1)
            return {};
    }
    X509_VERIFY_PARAM_set_auth_level(X509_STORE_get0_param(store.get()), kAuthenticationLevel);
    return store;
}

} // namespace velk
