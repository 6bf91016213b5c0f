// Loading the module of everything after the first frame.
#include "DeferredModule.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <dlfcn.h>

// Defined where the module's code is linked into the program itself (the
// tests); in the program it stays null and the module file is loaded.
extern "C" DeferredModule *kalmora_deferred_module() __attribute__((weak));

namespace {
struct LoadState
{
    DeferredModule *module = nullptr;
    bool tried = false;
    QString error;
};

LoadState &state()
{
    static LoadState s;
    return s;
}

DeferredModule *load(QString &error)
{
    if (kalmora_deferred_module)
        return kalmora_deferred_module();
    const QString path = DeferredModule::modulePath();
    if (!QFileInfo::exists(path)) {
        error = QStringLiteral("Der Programmteil %1 fehlt. Bitte installieren Sie Kalmora neu.").arg(path);
        return nullptr;
    }
    // Kept loaded to the end: its windows and objects live as long as the program.
    void *handle = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        error = QStringLiteral("Der Programmteil %1 kann nicht geladen werden:\n%2").arg(path, QString::fromLocal8Bit(dlerror()));
        return nullptr;
    }
    using Entry = DeferredModule *(*)();
    const auto entry = reinterpret_cast<Entry>(dlsym(handle, "kalmora_deferred_module"));
    if (!entry) {
        error = QStringLiteral("Der Programmteil %1 passt nicht zu diesem Programm.").arg(path);
        return nullptr;
    }
    return entry();
}
}

DeferredModule *DeferredModule::get()
{
    LoadState &s = state();
    if (!s.tried) {
        s.tried = true;
        s.module = load(s.error);
    }
    return s.module;
}

QString DeferredModule::loadError()
{
    get();
    return state().error;
}

QString DeferredModule::modulePath()
{
    const QString dir = QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString();
    // In a folder of its own: a library directly in the program's folder would
    // make the package run ldconfig for it.
    return (dir.isEmpty() ? QStringLiteral(".") : dir) + QStringLiteral("/lib/kalmora-deferred.so");
}
