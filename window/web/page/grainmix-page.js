// The page's side of the window: what only the page's own script can do. The
// program takes over the controls the page's HTML brings and drives them;
// this passes their events in, keeps Tab inside the form, moves down the
// grains with Enter and keeps the results in sight on a phone, shows the
// message and says when the program has ended. It finds the window's parts by what the
// page writer says of them (a group box's data-group, a name and its field
// as a pair), not by their names.
Module['grainmixPage'] = (function () {
  'use strict';
  var form = null;
  // The grains' fields in reading order, as the page brings them.
  var grains = [];
  var ended = false;
  // While a message is open the program waits inside the event that raised
  // it; the form is inert then, and nothing else may enter the program. One
  // message can follow another at once, so each settles on its own.
  var openMessages = 0;
  // Whether the program still has to hear what the user typed before it
  // started: it hears it from a task of its own, as it hears typing, once no
  // message is open, so that a message it raises does not hold up the start.
  var startToReport = false;

  function reportStart() {
    if (ended || !startToReport || openMessages > 0) return;
    startToReport = false;
    Module['_grainmix_started']();
  }

  function controlOf(target) {
    var index = target && target.dataset ? target.dataset.control : undefined;
    return index === undefined ? -1 : Number(index);
  }

  function focusChain() {
    var chain = Array.prototype.slice.call(form.querySelectorAll('[data-focus-order]'));
    chain.sort(function (a, b) {
      return Number(a.dataset.focusOrder) - Number(b.dataset.focusOrder);
    });
    return chain;
  }

  // WebKitGTK names Shift+Tab's key "Unidentified"; its code is still Tab.
  function isTab(event) {
    return event.key === 'Tab' || (event.key === 'Unidentified' && event.code === 'Tab');
  }

  // Tab and Shift+Tab walk the window's own order and wrap around, as in a
  // desktop window, rather than leaving for the browser's toolbar. Enter is
  // the phone layout's (onEnter).
  function onKeyDown(event) {
    if (ended || openMessages > 0 || event.altKey || event.ctrlKey || event.metaKey) return;
    if (event.key === 'Enter' && !event.shiftKey && !event.isComposing) onEnter(event);
    if (!isTab(event)) return;
    var chain = focusChain();
    var at = chain.indexOf(document.activeElement);
    var step = event.shiftKey ? -1 : 1;
    var next = at < 0 ? (event.shiftKey ? chain.length - 1 : 0)
                      : (at + step + chain.length) % chain.length;
    event.preventDefault();
    chain[next].focus();
    if (chain[next].select && chain[next].tagName === 'INPUT') chain[next].select();
  }

  // The style sheet chooses the layout; the page asks it rather than repeat
  // its measures.
  function phoneLayout() {
    return getComputedStyle(document.documentElement).getPropertyValue('--layout').trim() ===
           'phone';
  }

  function focusField(field) {
    field.focus({preventScroll: true});
    field.select();
    keepInSight(field);
  }

  // The on-screen keyboard's Enter goes on down the list of grains, in the
  // order they are read; after the last it puts the keyboard away, so that
  // the results show. A desktop window's Enter does nothing in a field.
  function onEnter(event) {
    if (!phoneLayout()) return;
    var at = grains.indexOf(event.target);
    if (at < 0) return;
    event.preventDefault();
    if (at + 1 < grains.length) focusField(grains[at + 1]);
    else event.target.blur();
  }

  // Between a grain's field and the bar or the bottom of what the user sees.
  var margin = 8;

  function bar() {
    return Array.prototype.slice.call(
        form.querySelectorAll('[data-group=total], [data-group=results]'));
  }

  // Scrolls the page just enough that a grain's field shows between the bar
  // and the bottom of what the user sees (the keyboard's top while it is
  // up).
  function keepInSight(field) {
    if (grains.indexOf(field) < 0 || !phoneLayout()) return;
    var view = window.visualViewport;
    var top = Math.max.apply(null, bar().map(function (frame) {
      return frame.getBoundingClientRect().bottom;
    }));
    var bottom = view ? view.offsetTop + view.height : window.innerHeight;
    var box = field.getBoundingClientRect();
    if (box.top < top + margin) window.scrollBy(0, box.top - top - margin);
    else if (box.bottom > bottom - margin) window.scrollBy(0, box.bottom - bottom + margin);
  }

  // What the browser scrolls into view itself (the field a tap or a click is
  // aimed at, the field it focuses) comes to rest below the bar, not under it.
  function padBelowBar() {
    var height = Math.max.apply(null, bar().map(function (frame) {
      return frame.offsetHeight;
    }));
    document.documentElement.style.scrollPaddingTop = phoneLayout() ? height + margin + 'px' : '';
  }

  // While the keyboard is up the browser may show a part of the page lower
  // than its top: the bar moves down with it. Gecko reports the user's own
  // scrolling here too, and a scroll is the user's: the field is not pulled
  // back into sight.
  function followVisibleArea() {
    var view = window.visualViewport;
    var shift = phoneLayout() && view.scale === 1 ? Math.max(0, view.offsetTop) : 0;
    document.documentElement.style.setProperty('--visible-top', shift + 'px');
    padBelowBar();
  }

  // The keyboard coming up or going away: the focused field stays in sight.
  function resizeVisibleArea() {
    followVisibleArea();
    keepInSight(document.activeElement);
  }

  // A keypad with a full stop: the decimal pad where the user's numbers use
  // one, the ordinary keyboard (whose digits include it) where they use a
  // comma, which the program would not read as a decimal point.
  function amountKeyboard() {
    var one = new Intl.NumberFormat().format(1.5);
    return one.indexOf('.') >= 0 ? 'decimal' : 'text';
  }

  // Safari on iPhones and iPads zooms into a field whose text is smaller than
  // 16 px when it takes the focus. A maximum scale stops that; there it no
  // longer stops the user from pinch-zooming, as it would elsewhere.
  function noZoomOnFocus() {
    var apple = /iPhone|iPad|iPod/.test(navigator.userAgent) ||
                (navigator.platform === 'MacIntel' && navigator.maxTouchPoints > 1);
    var viewport = document.querySelector('meta[name=viewport]');
    if (apple && viewport) viewport.content += ', maximum-scale=1';
  }

  return {
    show: function (newForm) {
      noZoomOnFocus();
      form = newForm;
      var keyboard = amountKeyboard();
      Array.prototype.forEach.call(form.querySelectorAll('input'), function (input) {
        input.setAttribute('inputmode', keyboard);
      });
      grains = Array.prototype.slice.call(form.querySelectorAll('[data-group=grains] input'));
      form.addEventListener('input', function (event) {
        if (ended || openMessages > 0) return;
        Module['_grainmix_input'](controlOf(event.target));
      });
      form.addEventListener('click', function (event) {
        var button = event.target.closest('button');
        if (!button || ended || openMessages > 0) return;
        Module['_grainmix_click'](controlOf(button));
      });
      form.addEventListener('focusin', function (event) {
        keepInSight(event.target);
      });
      document.addEventListener('keydown', onKeyDown);
      padBelowBar();
      if (window.visualViewport) {
        window.visualViewport.addEventListener('resize', resizeVisibleArea);
        window.visualViewport.addEventListener('scroll', followVisibleArea);
      }
      startToReport = true;
      setTimeout(reportStart);
    },

    // The window starts with the focus on Exit; on a phone the page still
    // opens at its top, with the bar and the first grains: no scrolling to
    // Exit, and none left from where a reload brought the page back to. A
    // user already in the form, typing before the program started, stays
    // where they are.
    focusAtStart: function (control) {
      if (form.contains(document.activeElement)) return;
      var phone = phoneLayout();
      control.focus({preventScroll: phone});
      if (phone) window.scrollTo(0, 0);
    },

    setNote: function (control, note) {
      control.classList.toggle('noted', note !== '');
      if (note === '') {
        control.removeAttribute('title');
        control.removeAttribute('aria-invalid');
      } else {
        control.title = note;
        control.setAttribute('aria-invalid', 'true');
      }
    },

    // Modal, one OK button, no icon. Enter, Space and Escape dismiss it, and
    // the focus goes back to where it was. Resolves once it is dismissed.
    message: function (title, text) {
      openMessages++;
      var before = document.activeElement;
      var dialog = document.createElement('dialog');
      dialog.className = 'message';
      dialog.setAttribute('aria-labelledby', 'message-title');
      dialog.setAttribute('aria-describedby', 'message-text');
      var heading = document.createElement('h2');
      heading.id = 'message-title';
      heading.textContent = title;
      var body = document.createElement('p');
      body.id = 'message-text';
      body.textContent = text;
      var ok = document.createElement('button');
      ok.type = 'button';
      ok.textContent = 'OK';
      var buttons = document.createElement('div');
      buttons.className = 'message-buttons';
      buttons.appendChild(ok);
      dialog.appendChild(heading);
      dialog.appendChild(body);
      dialog.appendChild(buttons);
      document.body.appendChild(dialog);
      return new Promise(function (resolve) {
        // Dismissed within the event that dismisses it, so that the program
        // has resumed before the browser handles anything else.
        var settled = false;
        function dismiss() {
          if (settled) return;
          settled = true;
          openMessages--;
          dialog.close();
          dialog.remove();
          if (before && before.focus) before.focus();
          resolve();
          setTimeout(reportStart);
        }
        ok.addEventListener('click', dismiss);
        dialog.addEventListener('cancel', function (event) {
          event.preventDefault();
          dismiss();
        });
        dialog.addEventListener('keydown', function (event) {
          // Tab stays on the one button.
          if (isTab(event)) event.preventDefault();
        });
        dialog.showModal();
        ok.focus();
      });
    },

    // A page cannot close a tab it did not open: try, then say so in the page.
    end: function (oldForm) {
      ended = true;
      document.removeEventListener('keydown', onKeyDown);
      if (window.visualViewport) {
        window.visualViewport.removeEventListener('resize', resizeVisibleArea);
        window.visualViewport.removeEventListener('scroll', followVisibleArea);
      }
      oldForm.remove();
      window.close();
      var holder = document.getElementById('window');
      var line = document.createElement('p');
      line.className = 'ended';
      line.textContent = document.getElementById('program-name').textContent + ' has ended. ';
      var again = document.createElement('button');
      again.type = 'button';
      again.textContent = 'Start again';
      again.addEventListener('click', function () { location.reload(); });
      line.appendChild(again);
      holder.appendChild(line);
      again.focus();
    }
  };
})();
