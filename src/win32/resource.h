/* Numbers of the resources that velmora.rc binds into Velmora.exe. The
   resource compiler reads this file as well as C++, so it holds only
   plain defines; resources.cpp checks them against res/resource_ids.h. */
#define VELMORA_RC_ICON 128
#define VELMORA_RC_TOOLBAR 132
/* The toolbar strip at 125, 150, 175, 200, 250 and 300 percent. */
#define VELMORA_RC_TOOLBAR_125 133
#define VELMORA_RC_TOOLBAR_150 134
#define VELMORA_RC_TOOLBAR_175 135
#define VELMORA_RC_TOOLBAR_200 136
#define VELMORA_RC_TOOLBAR_250 137
#define VELMORA_RC_TOOLBAR_300 138
