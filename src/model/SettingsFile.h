// The settings file "DEZUVEDIRED.INI": where it lies and how one operation uses it.
#pragma once

#include "platform/ProfileFile.h"
#include "platform/ProgramDirectory.h"

#include <type_traits>
#include <utility>

class SettingsFile final
{
public:
    /// The settings file in the program directory, found without regard to case.
    static QString path() { return DataFilePath(QStringLiteral("DEZUVEDIRED.INI")); }

    /// Opens the settings file for one operation, runs it, and writes the
    /// changes back. Also when the operation fails midway the changes made
    /// before the failure are written, as each write of the old platform was
    /// on disk at once.
    template <typename F>
    static decltype(auto) use(F &&operation) { return useFile(path(), std::forward<F>(operation)); }

    /// The same for another profile file named by its bare file name.
    template <typename F>
    static decltype(auto) useFile(const QString &filePath, F &&operation)
    {
        ProfileFile ini(filePath);
        try {
            if constexpr (std::is_void_v<std::invoke_result_t<F, ProfileFile &>>) {
                operation(ini);
                ini.save();
            } else {
                auto result = operation(ini);
                ini.save();
                return result;
            }
        } catch (...) {
            try {
                ini.save();
            } catch (...) {
                // the first failure is the one reported
            }
            throw;
        }
    }

    /// The whole file, read now for a reader that must not take an unreadable
    /// file for an empty one: empty when there is none; throws EInOutError
    /// when it is there but cannot be read.
    static ProfileFile readWhole();

    /// Read-only access: opens, reads, never writes. A file unchanged since the
    /// last read is not parsed again.
    template <typename F>
    static decltype(auto) read(F &&operation)
    {
        const std::shared_ptr<const ProfileFile> ini = ProfileFile::readShared(path());
        return operation(*ini);
    }
};
