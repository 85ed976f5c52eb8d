/* Numbers of the resources that velmora.rc binds into Velmora.exe. The
   resource compiler reads this file as well as C++, so it holds only
   plain defines; resources.cpp checks them against res/resource_ids.h. */
#define VELMORA_RC_ICON 128
#define VELMORA_RC_TOOLBAR 132
