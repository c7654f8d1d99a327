// Run in the page's head, before its first layout: a screen narrower or lower than the
// window and its margin shows the page zoomed out to fit; the browser then scales taps as it
// scales the picture, so each lands where it shows.
(function () {
  'use strict';
  const width = 447, height = 380;
  const need = Math.max(width, Math.ceil(height * screen.width / screen.height));
  if (screen.width < need)
    document.querySelector('meta[name=viewport]').content = 'width=' + need;
})();
