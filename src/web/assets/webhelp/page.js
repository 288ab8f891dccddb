// Loaded first by every page of the browser help. It gives the pages' popup
// links (href="JavaScript:popup.TextPopup(...)", written for the HTML Help
// control) a browser form, and inside the viewer it reports the page and hands
// links to other pages to the viewer, which keeps the address in step.
(function () {
  'use strict';
  var box = null;        // the popup on show
  var opener = null;     // the link that opened it
  var activated = null;  // the link last clicked or pressed, which a popup call belongs to

  // A Windows COLORREF (0x00bbggrr) as CSS; -1 and anything else: the default.
  function color(value) {
    if (typeof value !== 'number' || !(value >= 0) || value > 0xFFFFFF) return '';
    return 'rgb(' + (value & 255) + ',' + ((value >> 8) & 255) + ',' + ((value >> 16) & 255) + ')';
  }

  // "face,size,charset,BOLD ITALIC UNDERLINE", as the control reads its font argument.
  function applyFont(style, font) {
    var parts = String(font === undefined || font === null ? '' : font).split(',');
    var face = parts[0].trim().replace(/["\\]/g, '');
    if (face) style.fontFamily = '"' + face + '", sans-serif';
    var size = parseFloat(parts[1]);
    if (size > 0 && size < 200) style.fontSize = size + 'pt';
    var styles = parts.slice(3).join(' ').toUpperCase();
    if (styles.indexOf('BOLD') >= 0) style.fontWeight = 'bold';
    if (styles.indexOf('ITALIC') >= 0) style.fontStyle = 'italic';
    if (styles.indexOf('UNDERLINE') >= 0) style.textDecoration = 'underline';
  }

  // The box of an image-map area: its coordinates on the picture that uses the map.
  function areaRect(area) {
    var map = area.parentElement && area.parentElement.closest('map');
    var picture = map && map.name ? document.querySelector('img[usemap="#' + CSS.escape(map.name) + '"]') : null;
    if (!picture) return null;
    var at = picture.getBoundingClientRect();
    var coords = (area.getAttribute('coords') || '').split(',').map(Number);
    if (coords.length < 4 || coords.some(isNaN)) return at;
    return { left: at.left + coords[0], top: at.top + coords[1], right: at.left + coords[2], bottom: at.top + coords[3] };
  }

  function openerRect(link) {
    if (!link) return null;
    if (link.tagName === 'AREA') return areaRect(link);
    var rects = link.getClientRects();
    return rects.length > 0 ? rects[0] : link.getBoundingClientRect();
  }

  // Below the link, moved left or above when it would leave the window.
  function place(popup, rect) {
    var margin = 8;
    var width = popup.offsetWidth, height = popup.offsetHeight;
    var viewWidth = document.documentElement.clientWidth, viewHeight = document.documentElement.clientHeight;
    var left = rect ? rect.left : margin, top = rect ? rect.bottom + 4 : margin;
    if (left + width > viewWidth - margin) left = Math.max(margin, viewWidth - margin - width);
    if (rect && top + height > viewHeight - margin && rect.top - 4 - height >= margin) top = rect.top - 4 - height;
    popup.style.left = (left + window.scrollX) + 'px';
    popup.style.top = (top + window.scrollY) + 'px';
  }

  function close(returnFocus) {
    if (!box) return;
    box.remove();
    box = null;
    if (returnFocus && opener && opener.isConnected) opener.focus();
    opener = null;
  }

  // popup.TextPopup(text, font, horizontal margin, vertical margin, text colour, background colour)
  function TextPopup(text, font, marginX, marginY, foreground, background) {
    close(false);
    box = document.createElement('div');
    box.className = 'quorvex-popup';
    box.setAttribute('role', 'dialog');
    box.tabIndex = -1;
    box.textContent = text === undefined || text === null ? '' : String(text);
    if (activated && activated.textContent.trim()) box.setAttribute('aria-label', activated.textContent.trim());
    var style = box.style;
    applyFont(style, font);
    if (marginX >= 0 && marginY >= 0) style.padding = Number(marginY) + 'px ' + Number(marginX) + 'px';
    if (color(foreground)) style.color = color(foreground);
    if (color(background)) style.backgroundColor = color(background);
    document.body.appendChild(box);
    place(box, openerRect(activated));
    opener = activated;
    box.focus({ preventScroll: true });
    // A value here would replace the page: javascript: links show what they return.
    return undefined;
  }

  window.popup = { TextPopup: TextPopup };

  // Before the link's own action: a click anywhere closes the popup on show,
  // and the link clicked is remembered for the popup it may open.
  document.addEventListener('click', function (event) {
    var target = event.target instanceof Element ? event.target : null;
    var insideBox = box && target && box.contains(target);
    close(insideBox);
    activated = target ? target.closest('a, area') : null;
  }, true);

  document.addEventListener('keydown', function (event) {
    if (!box) return;
    if (event.key === 'Escape') {
      event.preventDefault();
      close(true);
    } else if (event.key === 'Tab') {
      close(true);  // the focus goes on from the link
    }
  }, true);

  if (window.parent === window) return;

  function post(message) { window.parent.postMessage(message, '*'); }

  function fileOf(url) {
    var path = url.pathname;
    var name = path.slice(path.lastIndexOf('/') + 1);
    try { return decodeURIComponent(name); } catch (e) { return name; }
  }

  function folderOf(url) { return url.pathname.slice(0, url.pathname.lastIndexOf('/') + 1); }

  document.addEventListener('DOMContentLoaded', function () {
    post({ quorvex: 'page', page: fileOf(location), title: document.title });
  });

  // Links to the help's other pages go through the viewer's address.
  document.addEventListener('click', function (event) {
    if (event.defaultPrevented || event.button !== 0 || event.ctrlKey || event.shiftKey || event.metaKey || event.altKey) return;
    var link = event.target instanceof Element ? event.target.closest('a[href], area[href]') : null;
    if (!link || /^\s*javascript:/i.test(link.getAttribute('href'))) return;
    var target = link.getAttribute('target');
    if (target && target !== '_self' && target !== 'main') return;
    var url = new URL(link.href, location.href);
    if (url.protocol !== location.protocol || url.host !== location.host || folderOf(url) !== folderOf(location) || !/\.html?$/i.test(url.pathname)) return;
    if (url.pathname === location.pathname) return;  // a place in this page
    event.preventDefault();
    post({ quorvex: 'open', page: fileOf(url) });
  });
})();
