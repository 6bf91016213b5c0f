// Playing wave files on Qt Multimedia.
#include "SoundEffectOutput.h"

#include <QSoundEffect>
#include <QUrl>

namespace {
class SoundEffect final : public LoopingSound
{
public:
    explicit SoundEffect(const QString &path)
    {
        QObject::connect(&m_effect, &QSoundEffect::statusChanged, &m_effect, [this] { startWhenReady(); });
        m_effect.setLoopCount(QSoundEffect::Infinite);
        m_effect.setSource(QUrl::fromLocalFile(path));
    }
    ~SoundEffect() override { m_effect.stop(); }

    void play() override
    {
        m_playWhenLoaded = true;
        startWhenReady();
    }

private:
    void startWhenReady()
    {
        if (m_effect.status() == QSoundEffect::Ready && m_playWhenLoaded) {
            m_playWhenLoaded = false;
            m_effect.play();
        }
    }

    QSoundEffect m_effect;
    bool m_playWhenLoaded = false;
};
}

std::unique_ptr<LoopingSound> SoundEffectOutput::open(const QString &path)
{
    return std::make_unique<SoundEffect>(path);
}
