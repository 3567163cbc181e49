// What the demo timeline needs of the music: start a track by name and read the position of
// what is heard, which clocks the show. The sound manager is the real one; tests fake it.
#pragma once

#include <string>

class IMusicPlayer
{
public:
    // Replaces the current track by the named one and starts it; false when it cannot play.
    virtual bool PlayFile(const std::string& name) = 0;
    // Seconds of the current track heard so far; 0 while no track plays.
    virtual double GetPositionSeconds() const = 0;

protected:
    ~IMusicPlayer() = default;
};
