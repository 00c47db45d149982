// CSeam<T>: the one replaceable instance behind a test seam (message boxes, timers, the tray's network
// calls). Current() is the instance a test installed, else the product's own T, made on first use.
#pragma once

#include "Object.h"

template <class T>
class CSeam : public CObject {
public:
    static T* Current() {
        static T product;
        return s_pInstalled ? s_pInstalled : &product;
    }

    // Makes pSeam current (NULL: the product's instance again); returns the one installed before it (NULL
    // for the product's), for the installer to put back.
    static T* Install(T* pSeam) {
        T* previous = s_pInstalled;
        s_pInstalled = pSeam;
        return previous;
    }

private:
    static inline T* s_pInstalled = nullptr;
};
