// Drawable: anything a scene keeps in its item slots and draws with the current GL state.
#pragma once

class Drawable {
public:
    virtual ~Drawable() = default;
    virtual void Draw() = 0;
};
