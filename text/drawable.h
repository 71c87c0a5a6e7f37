// Drawable: something drawn with the current GL state; TextItem, what the scenes' item slots hold, is one.
#pragma once

class Drawable {
public:
    virtual ~Drawable() = default;
    virtual void Draw() = 0;
};
