object TestForm: TTestForm
  Tag = 7
  Left = 10
  Top = 20
  Caption = 'Main form'
  Color = clWindow
  OnChange = FormChange
  FullHeight = 120
  object Clock: TTestTimer
    Interval = 250
    OnTimer = ClockTimer
  end
  object Panel1: TTestPanel
    Caption = 'It''s a panel'#13#10'on two lines'
    Hint = 'Caf'#233' '#1046
    Align = taTop
    Options = [toBold, toUnderline]
    Visible = False
    Cursor = crHandPoint
    Ratio = 1.5
    Font.Name = 'Arial'
    Font.Size = 12
    Font.Color = clRed
    Font.Style = [toItalic]
    Columns = <
      item
        Caption = 'Name'
        Width = 120
      end
      item
        Caption = 'Size'
      end>
    Lines.Strings = (
      'first line'
      'second line')
    Buddy = Button1
    OnClick = PanelClick
    FullHeight = 64
    Glyph = {
      00010203FF}
    object Button1: TTestPanel
      Left = -5
      Caption =
        'A caption long enough to be split over two lines of the form tex' +
        't'
      Color = 1193046
      Buddy = TestForm
      OnClick = PanelClick
      FullHeight = 30
    end
  end
end
