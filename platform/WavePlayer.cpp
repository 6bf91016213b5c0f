// Playing wave files; the sound library plays them in the module, loaded at the first sound.
#include "WavePlayer.h"

#include "ProgramDirectory.h"
#include "deferred/DeferredModule.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <memory>
#include <utility>

namespace {

struct PlayerState
{
    std::unique_ptr<LoopingSound> effect;
    bool held = false;
    QString heldPath; // the sound opened while held
    bool heldPlay = false;
    bool recording = false;
    QStringList calls;
};

PlayerState &state()
{
    static PlayerState s;
    return s;
}

// Without the module there is no sound, as with a file that cannot be played.
void openThroughModule(PlayerState &s, const QString &path)
{
    if (DeferredModule *module = DeferredModule::get())
        s.effect = module->openSound(path);
}

bool isBareName(const QString &name)
{
    return !name.contains(u'/') && !name.contains(u'\\') && !(name.size() > 1 && name[1] == u':');
}

}

QString WavePlayer::resolve(const QString &name)
{
    if (!isBareName(name))
        return name;
    // A bare name with wildcard characters must not match some other file.
    if (name.contains(u'*') || name.contains(u'?') || name.contains(u'['))
        return ProgramDirectory() + name;
    return DataFilePath(name);
}

void WavePlayer::open(const QString &name)
{
    PlayerState &s = state();
    if (s.recording) {
        s.calls.append(QStringLiteral("OpenWAVE ") + name);
        return;
    }
    close();
    const QString path = resolve(name);
    if (name.isEmpty() || !QFileInfo(path).isFile() || !QCoreApplication::instance())
        return;
    if (s.held) {
        s.heldPath = path;
        return;
    }
    openThroughModule(s, path);
}

void WavePlayer::play()
{
    PlayerState &s = state();
    if (s.recording) {
        s.calls.append(QStringLiteral("PlayWAVE"));
        return;
    }
    if (s.held) {
        s.heldPlay = !s.heldPath.isEmpty();
        return;
    }
    if (!s.effect)
        return;
    // Loading runs in the background; a file that fails to load never starts.
    s.effect->play();
}

void WavePlayer::close()
{
    PlayerState &s = state();
    if (s.recording) {
        s.calls.append(QStringLiteral("CloseWAVE"));
        return;
    }
    s.heldPath.clear();
    s.heldPlay = false;
    s.effect.reset();
}

bool WavePlayer::isOpen()
{
    return state().effect != nullptr || !state().heldPath.isEmpty();
}

void WavePlayer::hold()
{
    state().held = true;
}

void WavePlayer::release()
{
    PlayerState &s = state();
    if (!s.held)
        return;
    s.held = false;
    const QString path = std::exchange(s.heldPath, QString());
    const bool play = std::exchange(s.heldPlay, false);
    if (path.isEmpty())
        return;
    openThroughModule(s, path);
    if (play && s.effect)
        s.effect->play();
}

void WavePlayer::setRecording(bool recording)
{
    if (recording && !state().recording)
        close();
    state().recording = recording;
}

QStringList WavePlayer::takeCalls()
{
    return std::exchange(state().calls, QStringList());
}

void OpenWAVE(const QString &name)
{
    WavePlayer::open(name);
}

void PlayWAVE()
{
    WavePlayer::play();
}

void CloseWAVE()
{
    WavePlayer::close();
}
