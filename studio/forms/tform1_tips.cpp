// The status-bar tips of the controls and the About page's links.
#include "tform1.h"

void TForm1::InstallStatusTips() {}
void TForm1::WebSiteClick() {}
void TForm1::Email_SalesClick() {}
void TForm1::Email_SupportClick() {}
