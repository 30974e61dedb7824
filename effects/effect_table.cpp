#include "effects/effect_table.h"

#include "effects/fade.h"

namespace pavona::effects {

// Rows without a procedure belong to effect families that are not built yet; their frames show
// the starting picture.
const std::array<slideview::TEffect, slideview::kMaxStyle> EffectTable = {{
    {"Expand from right", nullptr},  // 1
    {"Expand from left", nullptr},  // 2
    {"Slide in from right", nullptr},  // 3
    {"Slide in from left", nullptr},  // 4
    {"Reveal from left", nullptr},  // 5
    {"Reveal from right", nullptr},  // 6
    {"Expand in from right", nullptr},  // 7
    {"Expand in from left", nullptr},  // 8
    {"Expand in to middle", nullptr},  // 9
    {"Expand out from middle", nullptr},  // 10
    {"Reveal out from middle", nullptr},  // 11
    {"Reveal in from sides", nullptr},  // 12
    {"Expand in from sides", nullptr},  // 13
    {"Unroll from left", nullptr},  // 14
    {"Unroll from right", nullptr},  // 15
    {"Build up from right", nullptr},  // 16
    {"Build up from left", nullptr},  // 17
    {"Expand from bottom", nullptr},  // 18
    {"Expand from top", nullptr},  // 19
    {"Slide in from bottom", nullptr},  // 20
    {"Slide in from top", nullptr},  // 21
    {"Reveal from top", nullptr},  // 22
    {"Reveal from bottom", nullptr},  // 23
    {"Expand in from bottom", nullptr},  // 24
    {"Expand in from top", nullptr},  // 25
    {"Expand in to middle (horizontal)", nullptr},  // 26
    {"Expand out from middle (horizontal)", nullptr},  // 27
    {"Reveal from middle (horizontal)", nullptr},  // 28
    {"Slide in from top and bottom", nullptr},  // 29
    {"Expand in from top and bottom", nullptr},  // 30
    {"Unroll from top", nullptr},  // 31
    {"Unroll from bottom", nullptr},  // 32
    {"Expand from bottom", nullptr},  // 33
    {"Expand in from top", nullptr},  // 34
    {"Expand from bottom right", nullptr},  // 35
    {"Expand from top right", nullptr},  // 36
    {"Expand from top left", nullptr},  // 37
    {"Expand from bottom left", nullptr},  // 38
    {"Slide in from bottom right", nullptr},  // 39
    {"Slide in from top right", nullptr},  // 40
    {"Slide in from top left", nullptr},  // 41
    {"Slide in from bottom left", nullptr},  // 42
    {"Reveal from top left", nullptr},  // 43
    {"Reveal from bottom left", nullptr},  // 44
    {"Reveal from bottom right", nullptr},  // 45
    {"Reveal from top right", nullptr},  // 46
    {"Appear and Contract to top left", nullptr},  // 47
    {"Appear and Contract to bottom left", nullptr},  // 48
    {"Appear and Contract to bottom right", nullptr},  // 49
    {"Appear and Contract to top right", nullptr},  // 50
    {"Appear and Contract to middle", nullptr},  // 51
    {"Expand out from centre", nullptr},  // 52
    {"Reveal out from centre", nullptr},  // 53
    {"Reveal in to centre", nullptr},  // 54
    {"Quarters Reveal in to middle", nullptr},  // 55
    {"Quarters Expand to middle", nullptr},  // 56
    {"Quarters Slide in to middle", nullptr},  // 57
    {"Curved Reveal from left", nullptr},  // 58
    {"Curved Reveal from right", nullptr},  // 59
    {"Bars in from right", nullptr},  // 60
    {"Bars in from left", nullptr},  // 61
    {"Bars left then right", nullptr},  // 62
    {"Bars right then left", nullptr},  // 63
    {"Bars from both sides", nullptr},  // 64
    {"Uneven shred from right", nullptr},  // 65
    {"Uneven shred from left", nullptr},  // 66
    {"Uneven shred out from middle (horizontal)", nullptr},  // 67
    {"Uneven shred in to middle (horizontal)", nullptr},  // 68
    {"Curved Reveal from top", nullptr},  // 69
    {"Curved Reveal from bottom", nullptr},  // 70
    {"Bars from bottom", nullptr},  // 71
    {"Bars from top", nullptr},  // 72
    {"Bars top then bottom", nullptr},  // 73
    {"Bars bottom then top", nullptr},  // 74
    {"Bars from top and bottom", nullptr},  // 75
    {"Unven shred from bottom", nullptr},  // 76
    {"Uneven shred from top", nullptr},  // 77
    {"Uneven shred from horizon", nullptr},  // 78
    {"Uneven shred in to horizon", nullptr},  // 79
    {"Curved reveal from top left", nullptr},  // 80
    {"Curved reveal from top right", nullptr},  // 81
    {"Curved reveal from bottom left", nullptr},  // 82
    {"Curved reveal from bottom right", nullptr},  // 83
    {"Elliptic reveal out from centre", nullptr},  // 84
    {"Elliptic reveal in to centre", nullptr},  // 85
    {"Criss Cross reveal from bottom right", nullptr},  // 86
    {"Criss Cross reveal from top right", nullptr},  // 87
    {"Criss Cross reveal from bottom left", nullptr},  // 88
    {"Criss Cross reveal from top left", nullptr},  // 89
    {"Criss Cross reveal bounce from top left", nullptr},  // 90
    {"Criss Cross reveal bounce from bottom left", nullptr},  // 91
    {"Criss Cross reveal bounce from top right", nullptr},  // 92
    {"Criss Cross reveal bounce from bottom right", nullptr},  // 93
    {"Criss Cross reveal from right top and bottom", nullptr},  // 94
    {"Criss Cross reveal from left top and bottom", nullptr},  // 95
    {"Criss Cross reveal from left right and bottom", nullptr},  // 96
    {"Criss Cross reveal from left right and top", nullptr},  // 97
    {"Criss Cross reveal from top left right and bottom", nullptr},  // 98
    {"Criss Cross reveal from bottom left top right", nullptr},  // 99
    {"Uneven shred from bottom and right", nullptr},  // 100
    {"Uneven shred from top and right", nullptr},  // 101
    {"Uneven shred from bottom and left", nullptr},  // 102
    {"Uneven shred from top and left", nullptr},  // 103
    {"Uneven shred from horizon and right", nullptr},  // 104
    {"Uneven shred from horizon and left", nullptr},  // 105
    {"Uneven shred from bottom and vert middle", nullptr},  // 106
    {"Uneven shred from top and vert middle", nullptr},  // 107
    {"Uneven shred from centre", nullptr},  // 108
    {"Uneven shred to centre", nullptr},  // 109
    {"Reveal diagonal from top left", nullptr},  // 110
    {"Reveal diagonal from top right", nullptr},  // 111
    {"Reveal diagonal from bottom left", nullptr},  // 112
    {"Reveal diagonal from bottom right", nullptr},  // 113
    {"Diagonal sweep from top left bottom right anticlockwise", nullptr},  // 114
    {"Diagonal sweep from top left bottom right clockwise", nullptr},  // 115
    {"Starburst clockwise from center", nullptr},  // 116
    {"Starburst anticlockwise from center", nullptr},  // 117
    {"Triangular shred", nullptr},  // 118
    {"Fade", Fade},  // 119
    {"Pivot from top left", nullptr},  // 120
    {"Pivot from bottom left", nullptr},  // 121
    {"Pivot from top right", nullptr},  // 122
    {"Pivot from bottom right", nullptr},  // 123
    {"Speckle appear from right", nullptr},  // 124
    {"Speckle appear from left", nullptr},  // 125
    {"Speckle appear from bottom", nullptr},  // 126
    {"Speckle appear from top", nullptr},  // 127
    {"Random squares appear", nullptr},  // 128
    {"Push right", nullptr},  // 129
    {"Push left", nullptr},  // 130
    {"Push and squeeze right", nullptr},  // 131
    {"Push and squeeze left", nullptr},  // 132
    {"Push down", nullptr},  // 133
    {"Push up", nullptr},  // 134
    {"Push and sqeeze down", nullptr},  // 135
    {"Push and sqeeze up", nullptr},  // 136
    {"Blind vertically", nullptr},  // 137
    {"Blind horizontally", nullptr},  // 138
    {"Uneven blind from left", nullptr},  // 139
    {"Uneven blind from right", nullptr},  // 140
    {"Uneven blind from top", nullptr},  // 141
    {"Uneven blind from bottom", nullptr},  // 142
    {"Rectangular shred", nullptr},  // 143
    {"Sweep clockwise", nullptr},  // 144
    {"Sweep anticlockwise", nullptr},  // 145
    {"Rectangles apear from left and disapear to right", nullptr},  // 146
    {"Rectangles apear from right and disapear to left", nullptr},  // 147
    {"Rectangles apear from up and disapear to bottom", nullptr},  // 148
    {"Rectangles apear from bottom and disapear to up", nullptr},  // 149
    {"Rotational rectangle in center", nullptr},  // 150
    {"Rotational star in center", nullptr},  // 151
    {"Spiral rectangle", nullptr},  // 152
    {"Circular shred", nullptr},  // 153
    {"Reveal V from left", nullptr},  // 154
    {"Reveal V from right", nullptr},  // 155
    {"Reveal V from top", nullptr},  // 156
    {"Reveal V from bottom", nullptr},  // 157
    {"Bow Tie Horizontal", nullptr},  // 158
    {"Bow Tie Vertical", nullptr},  // 159
    {"Diagonal Cross In", nullptr},  // 160
    {"Diagonal Cross Out", nullptr},  // 161
    {"Zigzag Horizontal", nullptr},  // 162
    {"Zigzag Vertical", nullptr},  // 163
    {"Diamond shred", nullptr},  // 164
    {"Reveal diamond out from centre", nullptr},  // 165
    {"Reveal diamond in to centre", nullptr},  // 166
    {"Diagonal Box Out", nullptr},  // 167
    {"Pixelate", nullptr},  // 168
    {"Dissolve", nullptr},  // 169
    {"Random Bars Horizontal", nullptr},  // 170
    {"Random Bars Vertical", nullptr},  // 171
    {"Channel Mix", nullptr},  // 172
    {"Slide out from right", nullptr},  // 173
    {"Slide out from left", nullptr},  // 174
    {"Slide out from bottom", nullptr},  // 175
    {"Slide out from top", nullptr},  // 176
}};

}  // namespace pavona::effects
