// The credit cards: a name with its role, each card in its own colours. 1024 x 576, the
// 16:9 of the rectangle the credits show them in.
#pragma once

#include "pictures/Canvas.h"
#include "pictures/ShowFonts.h"

struct SCreditCard
{
    const char* m_File;
    const char* m_Name;
    const char* m_Role;
    SColor m_Dark;   // background, lower right
    SColor m_Light;  // background, upper left
    SColor m_Accent; // the role and its line
};

// The five cards, in the order the credits show them.
const SCreditCard* CreditCards(size_t& count);
CCanvas MakeCreditCard(const SCreditCard& card, const SShowFonts& fonts);
